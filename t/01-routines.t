# The routine table: registered names and usage texts.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(routine_list);
use Korval;

my %all = routine_list();
is(scalar keys %all, 593, 'the full routine list has 593 entries');

my @registered = sort grep { /^[a-z0-9]+$/ && Korval->can($_) } keys %Korval::;
my @unknown = grep { !exists $all{$_} } @registered;
is_deeply(\@unknown, [], 'every registered routine belongs to the library');

# A wrong argument count croaks with the exact usage text.
my $bad = 0;
for my $name (@registered) {
    my $usage = "Usage: Korval::$name($all{$name})";
    my $n = $all{$name} eq '' ? 0 : scalar(split /, /, $all{$name});
    for my $count ($n + 1, $n ? $n - 1 : ()) {
        eval { no strict 'refs'; &{"Korval::$name"}((0) x $count) };
        unless ($@ =~ /^\Q$usage\E at /) {
            $bad++;
            diag("$name with $count arguments: $@");
        }
    }
}
is($bad, 0, 'wrong argument counts croak with the usage text');

diag(sprintf("%d of %d routines registered", scalar @registered, scalar keys %all));
done_testing;
