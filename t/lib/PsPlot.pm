package PsPlot;
# Runs a small PostScript plot and reads back what the driver wrote: the
# pen moves and draws (in plot coordinates), strokes, colours, filled
# rectangles and polygon fills, and the warnings of the error file.
use strict;
use warnings;
use Exporter 'import';
use KTest qw(slurp);
use Korval;

our @EXPORT_OK = qw(ps_plot strokes count_ops);

# Device units per plot unit of "POST" on the default page.
my $F = 1.857142857;

# ps_plot(sub { ... }, %opt): a plot whose axis system maps user (x, y)
# to plot (100 + x, 1100 - y) for 0..1000, axes not drawn unless
# $opt{axes}.  Returns { ops => [...], err => text, ps => text }.
sub ps_plot {
    my ($code, %opt) = @_;
    Korval::metafl('POST');
    Korval::setfil('plot.ps');
    Korval::filmod('DELE');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::axspos(100, 1100);
    Korval::axslen(1001, 1001);
    Korval::nograf() unless $opt{axes};
    if ($opt{graf3}) {
        Korval::graf3(0, 1000, 0, 100, 0, 1000, 0, 100, @{ $opt{graf3} });
    } elsif (!$opt{no_graf}) {
        Korval::graf(0, 1000, 0, 100, 0, 1000, 0, 100);
    }
    $code->();
    Korval::korfin();
    my $ps = slurp('plot.ps') // '';
    my $err = slurp('korval.err') // '';
    unlink 'korval.err';
    my ($body) = $ps =~ /setlinewidth\s+\S+\s+\S+\s+scale\s(.*)showpage/s;
    return { ops => parse($body // ''), err => $err, ps => $ps };
}

sub parse {
    my ($body) = @_;
    my (@ops, @num);
    for my $t (split ' ', $body) {
        if ($t =~ /^-?\d+(\.\d+)?$/) { push @num, $t; next }
        if ($t eq 'u' || $t eq 'd') {
            my ($X, $Y) = splice(@num, -2);
            push @ops, [$t, $Y / $F, $X / $F];
        } elsif ($t eq 'f') {
            push @ops, ['f', splice(@num, -3)];
        } elsif ($t eq 'e') {
            my @v = splice(@num, -7);
            # Corners back in plot units (x1, y1, x2, y2 of the turned page),
            # then the colour.
            push @ops, ['e', (map { $_ / $F } @v[1, 0, 3, 2]), @v[4 .. 6]];
        } elsif ($t eq 'eofill') {
            # The polygon's own outline is not a stroke.
            pop @ops while @ops && $ops[-1][0] eq 'd';
            pop @ops if @ops && $ops[-1][0] eq 'u';
            push @ops, ['fill'];
        } elsif ($t eq 'p') {
            push @ops, ['p'];
        }
        @num = () unless $t =~ /^-?\d/;
    }
    return \@ops;
}

# The connected polylines: each a list of [x, y] points.
sub strokes {
    my ($ops) = @_;
    my (@s, $cur);
    for my $o (@$ops) {
        if ($o->[0] eq 'u') {
            $cur = [[ $o->[1], $o->[2] ]];
            push @s, $cur;
        } elsif ($o->[0] eq 'd' && $cur) {
            push @$cur, [ $o->[1], $o->[2] ];
        }
    }
    return @s;
}

sub count_ops {
    my ($ops, $name) = @_;
    return scalar grep { $_->[0] eq $name } @$ops;
}

1;
