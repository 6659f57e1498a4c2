# Text routines from Perl: lengths, attributes, alphabets, control
# characters, national characters and their warnings.
use strict;
use warnings;
use Test::More;
use File::Temp qw(tempdir);
use Korval;

my $dir = tempdir(CLEANUP => 1);
chdir $dir or die "chdir: $!";

sub error_file {
    open my $fh, '<', 'korval.err' or return '';
    local $/;
    return <$fh>;
}

Korval::korini();
Korval::errmod('PROT', 'OFF');

# The default font: every character one cell of (h - 1) * width factor,
# plus the spacing between characters.
Korval::height(36);
is(Korval::nlmess('Hello'), 5 * 35, 'koralf: 5 characters of 35');
is(Korval::nlmess(''), 0, 'empty text');
Korval::chawth(0.5);
Korval::chaspc(0.25);
is(Korval::nlmess('abc'), int(3 * 35 * 0.5 + 2 * 9 + 0.5), 'width factor and spacing');
Korval::reset('CHAW');
Korval::reset('chaspc');
is(Korval::nlmess('abc'), 3 * 35, 'reset restores width and spacing');
is(Korval::nlmess('x' x 300), 256 * 35, 'texts are cut at 256 characters');

# Proportional fonts
Korval::complx();
my $wide = Korval::nlmess('WWW');
my $thin = Korval::nlmess('iii');
ok($wide > 2 * $thin, 'complx is proportional');
Korval::height(72);
ok(abs(Korval::nlmess('WWW') - 2 * $wide) <= 2, 'lengths grow with the height');
Korval::height(36);
for my $font (qw(koralf simplx complx duplx triplx helve helves serif)) {
    no strict 'refs';
    &{"Korval::$font"}();
    ok(Korval::nlmess('Korval 8.1') > 0, "$font measures text");
    Korval::messag('Korval 8.1', 100, 100);
}
Korval::koralf();

# Alphabets
is(Korval::getalf(), 'STANDARD', 'base alphabet');
Korval::basalf('GREE');
is(Korval::getalf(), 'GREEK', 'basalf GREE');
Korval::basalf('russ');
is(Korval::getalf(), 'RUSSIAN', 'keywords in lower case');
Korval::basalf('STAN');
Korval::smxalf('INST', '{', '}', 2);
my ($s2, $s3) = ('', '');
is(Korval::gmxalf('INST', $s2, $s3), 2, 'gmxalf slot');
is("$s2$s3", '{}', 'gmxalf characters');
is(Korval::gmxalf('SCRI', $s2, $s3), 0, 'no slot for script');
is($s2, ' ', 'blank when none');
is(Korval::nlmess('{A2}A'), 72 + 35, 'instruction A2 advances two heights');
is(Korval::nlmess('A{T}B'), 35, 'instruction T returns to the start');

# Exponents and indices
is(Korval::getmix('EXP'), '[', 'default EXP character');
Korval::mixalf();
is(Korval::nlmess('10[3$'), 2 * 35 + 28, 'exponent drawn at 0.8 of the height');
Korval::newmix();
is(Korval::getmix('IND'), '_', 'newmix IND');
is(Korval::nlmess('x_1%'), 35 + 28, 'index at 0.8 of the height');
Korval::setmix('#', 'RES');
is(Korval::getmix('RES'), '#', 'setmix');
Korval::reset('NEWM');
is(Korval::getmix('EXP'), '[', 'reset NEWM');
Korval::reset('MIXA');
is(Korval::nlmess('10[3$'), 5 * 35, 'without mixalf the characters are drawn');

# Numbers
is(Korval::nlnumb(12.0, 0), 3 * 35, 'nlnumb: a blank and two digits');
is(Korval::nlnumb(-2.5, -1), 2 * 35, 'nlnumb rounds half away from zero');
Korval::numfmt('FEXP');
is(Korval::nlnumb(1500.0, 1), 5 * 35, '1.5E3');
Korval::numfmt('FLOA');
Korval::number(3.25, 2, 100, 300);

# National characters
Korval::complx();
my $umlaut = Korval::nlmess("\x82");
Korval::eushft('GERM', '!');
is(Korval::nlmess('!a'), $umlaut, 'German operator with a');
Korval::chacod('ISO1');
is(Korval::nlmess("\xe4"), $umlaut, 'ISO 8859-1 a umlaut');
is(Korval::nlmess("\xd7"), Korval::nlmess(' '), 'ISO 8859-1 code 215 is a space');
Korval::chacod('STAN');

# Bad input: warnings in the error file, nothing changes
Korval::height(0);
Korval::chaang(70);
Korval::txtjus('MIDDLE');
Korval::smxalf('STAN', '<', '>', 1);
Korval::eushft('FREN', '!');
Korval::messag('!x', 100, 500);
Korval::messag('{Q}A', 100, 600);
Korval::messag('{P30}A', 100, 600);
Korval::messag('{G1.5}A', 100, 600);
Korval::messag('{R3}A', 100, 600);
Korval::messag('ABC', 5000, 100);
Korval::koralf();
is(Korval::nlmess('A'), 35, 'height unchanged after a bad value');
Korval::korfin();

my $err = error_file();
like($err, qr/Warning   2: Incorrect parameter in height/, 'height 0 warns 2');
like($err, qr/Warning   2: Incorrect parameter in chaang/, 'chaang 70 warns 2');
like($err, qr/Warning   2: Incorrect parameter in txtjus/, 'unknown keyword warns 2');
like($err, qr/Warning  19: The basealphabet cannot be used in smxalf/, 'warning 19');
like($err, qr/Warning  57: Control characters must be different in eushft/, 'warning 57');
like($err, qr/Warning  18: Incorrect character after the eushft operator in messag/, 'warning 18');
like($err, qr/Warning  46: Instruction code: unknown command in messag!   \(Q\)/, 'warning 46');
like($err, qr/Warning  44: Instruction code: incorrect tabulator index/, 'warning 44');
like($err, qr/Warning  45: Instruction code: no integer value/, 'warning 45');
like($err, qr/Warning  43: Instruction code: incorrect parameter in messag!   \(R3\)/, 'warning 43');
like($err, qr/Endpoint   \( \d+\/  \d+\) in MESSAG out of page - \(ABC\)/, 'end point off the page');

# Level checks: text routines need an open plot, nlmess does not
my $before = Korval::nlmess('AB');
is($before, 70, 'nlmess at level 0');
Korval::korini();
Korval::errmod('PROT', 'OFF');
is(Korval::nlmess('AB'), 70, 'defaults are applied at korini');
Korval::korfin();

done_testing();
