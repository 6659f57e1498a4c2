#!/usr/bin/perl
# The Korval showcase: draws the library's plots into the current directory.
use strict;
use warnings;
use Korval;

# Batch use: the end-of-run protocol goes to standard error, never waits.
my @written;

sub plot_page {
    my ($format, $file) = @_;
    if (defined &Korval::metafl) {
        Korval::metafl($format);
        Korval::setfil($file);
        Korval::filmod("DELE");
    }
    Korval::korini();
    if (defined &Korval::pagera) {
        Korval::pagera();
        # A small star of lines in the middle of the page.
        for my $i (0 .. 35) {
            my $a = $i * 10 * 3.14159265 / 180;
            Korval::line(1485, 1050, int(1485 + 800 * cos($a)), int(1050 + 800 * sin($a)));
        }
    }
    Korval::korfin();
    push @written, defined &Korval::getfil ? Korval::getfil() : "korval.met";
}

plot_page("VECM", "showcase.met");
plot_page("PS", "showcase.ps") if defined &Korval::metafl;
plot_page("EPS", "showcase.eps") if defined &Korval::metafl;

print "Korval ", Korval::getver() + 0 == 0 ? "" : sprintf("%.1f", Korval::getver()), " showcase wrote:\n";
print "  $_\n" for @written;
