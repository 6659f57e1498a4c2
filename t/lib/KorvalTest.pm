# Helpers for the Perl tests: a fresh temporary directory per test file and
# scripts run in a child interpreter, so that messages written by the
# library (standard output, the protocol on standard error) can be read.
package KorvalTest;
use strict;
use warnings;
use Exporter 'import';
use File::Temp qw(tempdir);
use Cwd qw(getcwd);

our @EXPORT = qw(enter_tempdir run_script slurp ps_body ps_groups have_gs gs_render read_ppm);

sub enter_tempdir {
    my $dir = tempdir(CLEANUP => 1);
    chdir $dir or die "chdir $dir: $!";
    return $dir;
}

# Runs Perl code with Korval loaded; returns (output of both streams, status).
sub run_script {
    my ($code, %env) = @_;
    open my $fh, '>', '_script.pl' or die $!;
    print $fh "use strict; use warnings; use Korval;\n$code\n";
    close $fh;
    local $ENV{PERL5LIB} = join ':', grep { !ref } @INC;
    local @ENV{keys %env} = values %env;
    my $out = `"$^X" _script.pl 2>&1`;
    return ($out, $?);
}

sub slurp {
    my ($name) = @_;
    open my $fh, '<', $name or return undef;
    local $/;
    my $s = <$fh>;
    close $fh;
    return $s;
}

# The drawing stream after the placement line, as a list of tokens.
sub ps_body {
    my ($text) = @_;
    my ($body) = $text =~ /scale\n(.*)\z/s or return ();
    return split ' ', $body;
}

# The path groups of a token stream: each a list of [x, y] points.
sub ps_groups {
    my @t = @_;
    my (@groups, @stack);
    for my $tok (@t) {
        if ($tok eq 'u') {
            my ($x, $y) = splice @stack, -2;
            push @groups, [[$x, $y]];
        } elsif ($tok eq 'd') {
            my ($x, $y) = splice @stack, -2;
            push @{ $groups[-1] }, [$x, $y];
        } elsif ($tok =~ /^-?\d+$/) {
            push @stack, $tok;
        } else {
            @stack = ();
        }
    }
    return @groups;
}

sub have_gs { return system('gs -v >/dev/null 2>&1') == 0 }

# Renders a file with ghostscript; returns (status, messages).
sub gs_render {
    my ($file, $device, $out, @opts) = @_;
    my $msg = `gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=$device @opts -sOutputFile=$out $file 2>&1`;
    return ($?, $msg);
}

# A binary PPM as (width, height, pixel bytes).
sub read_ppm {
    my ($name) = @_;
    my $s = slurp($name);
    $s =~ s/\A(P6\s+)#[^\n]*\n/$1/;    # a comment line after the magic
    my ($w, $h, $data) = $s =~ /\AP6\s+(\d+)\s+(\d+)\s+255\s(.*)\z/s or return;
    return ($w, $h, $data);
}

1;
