# Loading the module and its version check.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(run_script in_tempdir);

use_ok('Korval');
is($Korval::VERSION, '8.1', 'module version');
cmp_ok(abs(Korval::getver() - 8.1), '<', 1e-6, 'getver is 8.1');

in_tempdir();

# The shared object checks the version variable of the package.
my ($out, $err, $st) = run_script(<<'PL');
package Korval; our $VERSION = '9.9'; require XSLoader; XSLoader::load('Korval');
PL
isnt($st, 0, 'wrong $VERSION fails to load');
like($err, qr/^Korval object version 8\.1 does not match \$Korval::VERSION 9\.9/,
     'mismatch message names $Korval::VERSION');

($out, $err, $st) = run_script(<<'PL');
package Korval; our $XS_VERSION = '7.0'; our $VERSION = '8.1'; require XSLoader; XSLoader::load('Korval');
PL
like($err, qr/does not match \$Korval::XS_VERSION 7\.0/, 'XS_VERSION is preferred');

($out, $err, $st) = run_script(<<'PL');
package Korval; require XSLoader; XSLoader::load('Korval', '1.2');
PL
like($err, qr/^Korval object version 8\.1 does not match bootstrap parameter 1\.2/,
     'a version argument is the bootstrap parameter');

($out, $err, $st) = run_script(<<'PL');
package Korval; require XSLoader; XSLoader::load('Korval');
package main; print Korval::getlev(), "\n";
PL
is($st, 0, 'no version variable loads without a check');
is($out, "0\n", 'and the routines work');

done_testing;
