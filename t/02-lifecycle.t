# The plot lifecycle: levels, cycles, the error file and the protocol.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(run_script in_tempdir slurp);
use Korval;

in_tempdir();

subtest 'levels through a plot' => sub {
    is(Korval::getlev(), 0, 'before korini');
    Korval::korini();
    is(Korval::getlev(), 1, 'after korini');
    Korval::endgrf();
    is(Korval::getlev(), 1, 'endgrf without an axis system keeps level 1');
    Korval::newpag();
    Korval::erase();
    Korval::korfin();
    is(Korval::getlev(), 0, 'after korfin');
    Korval::endgrf();
    is(Korval::getlev(), 0, 'endgrf at level 0 changes nothing');
    ok(-e 'korval.met', 'the default output is the own metafile');
    ok(!-e 'korval.err', 'an empty error file is deleted');
};

subtest 'two cycles in one process' => sub {
    Korval::korini();
    Korval::korfin();
    ok(-e 'korval_1.met', 'the second cycle writes a new version');
    is(Korval::getlev(), 0, 'level 0 again');
};

subtest 'warnings go to the error file under Perl' => sub {
    my $dir = in_tempdir();
    Korval::korini();
    Korval::korini();    # inside an open plot: one level warning
    Korval::reset('nosuchkey');
    Korval::korfin();
    my $err = slurp('korval.err');
    ok(defined $err, 'the error file stays when it has messages');
    is($err,
       " <<<< Warning   3: Incorrect level in korini!   (   1)\n"
     . " <<<< Warning   2: Incorrect parameter in reset!   (NOSU)\n",
       'exact warning lines');
};

subtest 'misuse before korini is shown on standard output' => sub {
    in_tempdir();
    my ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korfin();
Korval::unit(0);
Korval::nochek();
PL
    is($out,
       " <<<< Warning   3: Incorrect level in korfin!   (   0)\n"
     . " <<<< Warning   3: Incorrect level in unit!   (   0)\n"
     . " <<<< Warning   3: Incorrect level in nochek!   (   0)\n",
       'level warnings before korini, even after unit(0)');
};

subtest 'the protocol in the message box' => sub {
    in_tempdir();
    my ($out, $err) = run_script(<<'PL', env => { SOURCE_DATE_EPOCH => 1700000000, DISPLAY => '' });
use Korval;
Korval::korini();
Korval::errmod('WARN', 'maybe');
Korval::korfin();
PL
    is($out, '', 'nothing on standard output');
    my ($vectors) = $err =~ /Vectors      : (\d+)/;
    is($err, "korfin\n"
           . "           END OF KORVAL / VERSION  8.1  \n "
           . "\n Date          : 14.11.2023"
           . "\n Time          : 22:13:20"
           . "\n Pageformat: DA4L"
           . "\n Vectors      : $vectors"
           . "\n Warnings  : 1"
           . "\n Fileformat  : VECM"
           . "\n Metafile     : korval.met"
           . "\n Error file    : korval.err\n",
       'box text with the error file');
    like(slurp('korval.err'), qr/Warning   2: Incorrect parameter in errmod!   \(maybe\)/,
         'the warning is in the error file');

    ($out, $err) = run_script(<<'PL', env => { SOURCE_DATE_EPOCH => 1700000000 });
use Korval;
Korval::errmod('all', 'off');
Korval::korini();
Korval::korfin();
PL
    like($out, qr/Incorrect level in errmod/, 'errmod before korini warns once');
    like($err, qr/END OF KORVAL/, 'korini turns the protocol on again');
    unlike($err, qr/Error file/, 'no error-file line without messages');

    ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::korfin();
PL
    is($err, '', 'errmod PROT OFF silences the protocol');
};

subtest 'errfil and errdev' => sub {
    in_tempdir();
    my ($out, $err) = run_script(<<'PL');
use Korval;
Korval::errfil('my.log');
Korval::korini();
Korval::errdev('FILE');    # level 0 only
Korval::korfin();
PL
    ok(-e 'my.log', 'errfil names the error file');
    like(slurp('my.log'), qr/Incorrect level in errdev!   \(   1\)/, 'and receives the warnings');
    like($err, qr/Error file    : my\.log/, 'the protocol names it');
    open my $fh, '>', 'korval.err';
    close $fh;
    ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korini();
Korval::reset('X');
Korval::korfin();
PL
    ok(-e 'korval_1.err', 'an existing error file gives a versioned name');
    like($err, qr/Error file    : korval_1\.err/, 'named in the protocol');
};

subtest 'fatal file errors are not success' => sub {
    in_tempdir();
    open my $fh, '>', 'korval.met';
    close $fh;
    my ($out, $err, $st) = run_script(<<'PL');
use Korval;
Korval::korini();
print "not reached\n";
PL
    is($st, 0, 'file mode COUN finds a free name') or diag $err;
    ok(-e 'korval_1.met', 'korval_1.met written');
};

done_testing;
