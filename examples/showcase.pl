#!/usr/bin/perl
# The Korval showcase: one labelled plot page written in every format the
# library has, plus a page of text samples.  Files go to the current
# directory; the list is printed at the end.
use strict;
use warnings;
use Korval;

my @written;

sub can { return Korval->can($_[0]) }

sub axis_page {
    my ($format, $file) = @_;
    Korval::metafl($format);
    Korval::setfil($file);
    Korval::filmod("DELE");
    Korval::korini();
    Korval::errmod("PROT", "OFF");
    Korval::complx() if can('complx');
    Korval::pagera();
    Korval::name("Time [s]", "X");
    Korval::name("Amplitude", "Y");
    Korval::titlin("Korval showcase", 1);
    Korval::titlin("a damped oscillation", 3);
    Korval::graf(0, 10, 0, 1, -1, 1, -1, 0.5);
    Korval::title();
    Korval::grid(1, 1);
    my (@x, @y);
    for my $i (0 .. 400) {
        my $t = $i / 40;
        push @x, $t;
        push @y, exp(-0.3 * $t) * cos(2 * $t * 3.14159265);
    }
    if (can('curve')) {
        Korval::curve(\@x, \@y, scalar @x);
    } else {
        # Without curves yet: the same data as connected lines.
        for my $i (1 .. $#x) {
            Korval::line(Korval::nxposn($x[$i - 1]), Korval::nyposn($y[$i - 1]),
                         Korval::nxposn($x[$i]), Korval::nyposn($y[$i]));
        }
    }
    Korval::endgrf();
    Korval::korfin();
    push @written, Korval::getfil();
}

my %formats = (PS => 'showcase.ps', EPS => 'showcase.eps', PDF => 'showcase.pdf',
               SVG => 'showcase.svg', PNG => 'showcase.png', VECM => 'showcase.met');
for my $f (qw(PS EPS PDF SVG PNG VECM)) {
    axis_page($f, $formats{$f});
}

printf "Korval %.1f showcase wrote:\n", Korval::getver();
print "  $_\n" for @written;
