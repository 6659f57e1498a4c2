# The end-of-run protocol and message boxes as modal dialogs.
use strict;
use warnings;
use Test::More;
use Gui qw(start_script find_window key finish wait_gone);

# korfin under Perl shows the protocol in a box titled "korfin" and waits
# for OK.
my $h = start_script(<<'PERL');
Korval::metafl("POST");
Korval::korini();
print "before\n";
Korval::korfin();
print "after\n";
PERL
my $w = find_window('^korfin$', 10);
ok($w, 'the protocol box appears');
sleep 1;
my $still = kill 0, $h->{pid};
ok($still, 'korfin waits while the box is open');
key($w, 'Return') if $w;
my ($st, $out, $err) = finish($h, 10);
is($st, 0, 'the script ends after OK');
like($out, qr/before\nafter/, 'korfin returned after the box closed');
unlike($err, qr/END OF KORVAL/, 'the protocol did not go to standard error');

# errmod("PROT", "OFF") never waits.
$h = start_script(<<'PERL');
Korval::metafl("POST");
Korval::korini();
Korval::errmod("PROT", "OFF");
Korval::korfin();
print "done\n";
PERL
($st, $out) = finish($h, 10);
is($out, "done\n", 'no box without the protocol');

done_testing;
