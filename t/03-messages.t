# Keyword matching, reset keys and the message switches.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(run_script in_tempdir slurp);
use Korval;

in_tempdir();

# Runs calls inside one plot and returns the error file's lines.
sub warnings_of {
    my ($code) = @_;
    in_tempdir();
    my ($out, $err, $st) = run_script("use Korval;\nKorval::korini();\n$code\nKorval::korfin();\n");
    die "script failed: $err" if $st;
    my $text = slurp('korval.err') // '';
    return [split /\n/, $text];
}

subtest 'keywords' => sub {
    is_deeply(warnings_of(q{Korval::errmod('warning', 'on'); Korval::errmod('Chec', 'oN');}), [],
              'case is ignored and a whole word selects its first four letters');
    is_deeply(warnings_of(q{Korval::errmod('W', 'on');}),
              [' <<<< Warning   2: Incorrect parameter in errmod!   (W)'],
              'one letter is padded and matches no four-letter key');
    is_deeply(warnings_of(q{Korval::errmod('prot', 'o');}),
              [' <<<< Warning   2: Incorrect parameter in errmod!   (o)'],
              'a short argument does not match a longer key');
    is_deeply(warnings_of(q{Korval::errmod('protocols', 'on');}), [],
              'the first four characters decide');
    is_deeply(warnings_of(q{Korval::errmod('wa rn', 'on');}),
              [' <<<< Warning   2: Incorrect parameter in errmod!   (wa rn)'],
              'the argument is shown as given');
};

subtest 'reset keys' => sub {
    my @keys = qw(ALL ANGL AUTR AX3L AXCL AXEN AXIS AXSL AXSP BARD BARG BARP BART BARW BASA
                  CENT CHAA CHAB CHAS CHAW CHNC CHNP CIRC CLPB CLPM CLPW CLRC COLM COLO COLR
                  CONC CONG CONM DIGI EUSH EXPZ FILB FILC FIXS FLAB FRAM FRME GAPC GRAC HEIG
                  HNAM HTIT IANG INTA LABC LABD LABE LABJ LABP LABT LEGC LFTT LINC LINS LOGT
                  MAPM MAPP MAPR MAPS MDFM MIXA MIXL MPLA MPLC MPLS MYLA NAMD NAME NEGL NEWM
                  NOAR NOBA NOBG NOCH NOCL NOFI NOGR NOHI NOLI NUMF NUMO ORIG PATC PIEE PIEL
                  PIEV POLC PROJ RGTL RVYN SCAL SETB SETC SETE SETG SETM SETR SETS SHDC SHDP
                  SHIE SHLS SMXA SPLM SURC SURS SURV SYMR THKC TICK TICL TICP TIMO TITL UNIT
                  VIEW VKXB VKYB VKYT WIDB WIND WINM WINS ZSCA);
    is(scalar @keys, 129, '129 keys');
    my $calls = join '', map { "Korval::reset('$_'); Korval::reset(lc '$_');\n" } @keys;
    is_deeply(warnings_of($calls), [], 'all keys accepted in upper and lower case');
    is_deeply(warnings_of(q{Korval::reset('axspos'); Korval::reset('Ticlen');}), [],
              'the full routine name works');
    is_deeply(warnings_of(q{Korval::reset('allx'); Korval::reset('al'); Korval::reset('xyzzy');}),
              [' <<<< Warning   2: Incorrect parameter in reset!   (ALLX)',
               ' <<<< Warning   2: Incorrect parameter in reset!   (AL)',
               ' <<<< Warning   2: Incorrect parameter in reset!   (XYZZ)'],
              'unknown keys cut to four characters, upper case; ALL only exactly');
};

subtest 'switches' => sub {
    in_tempdir();
    my ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korini();
Korval::errmod('WARN', 'OFF');
Korval::reset('nope');
Korval::korfin();
PL
    like($err, qr/Warnings  : 1\n/, 'silenced warnings still count');
    ok(!-e 'korval.err', 'and write nothing');

    in_tempdir();
    ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korini();
Korval::unit(0);
Korval::reset('nope');
Korval::korfin();
PL
    is($out . $err, '', 'unit(0) silences warnings and the protocol');

    in_tempdir();
    ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korini();
Korval::unit(6);
Korval::reset('nope');
Korval::reset('unit');
Korval::reset('nope');
Korval::korfin();
PL
    like($out, qr/\A <<<< Warning   2: Incorrect parameter in reset!   \(NOPE\)\n\z/,
         'unit sends warnings to standard output');
    like(slurp('korval.err'), qr/NOPE/, 'reset UNIT routes them back to the error file');

    in_tempdir();
    ($out, $err) = run_script(<<'PL');
use Korval;
Korval::korini();
Korval::errmod('warn', 'off');
Korval::reset('nope');
Korval::korfin();
Korval::korini();
Korval::reset('nope');
Korval::korfin();
PL
    ok(!-e 'korval.err', 'the warnings switch keeps its value across plots');
};

subtest 'array and output arguments are checked' => sub {
    plan skip_all => 'no array routine registered yet' unless Korval->can('curve') || Korval->can('myline');
    pass('covered by the routines that take arrays');
};

done_testing;
