package Korval;

# Korval: scientific plotting for Perl.
#
#   use Korval;
#   Korval::metafl("PDF");
#   Korval::korini();
#   ...
#   Korval::korfin();
#
# Every routine is called by its package name; see the README for the list.

use strict;
use warnings;

our $VERSION = '8.1';

require XSLoader;
XSLoader::load('Korval');

# The loader leaves its entry point behind as Korval::bootstrap; the package
# holds the plotting routines only.
delete $Korval::{bootstrap};

1;
