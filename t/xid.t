# Window ids without a display: setxid warns and keeps nothing, getxid
# has no window to name.
use strict;
use warnings;
use Test::More;
use File::Temp qw(tempdir);
use Korval;

chdir tempdir(CLEANUP => 1);
$ENV{DISPLAY} = '';
delete $ENV{WAYLAND_DISPLAY};

sub stdout_of {
    my ($code) = @_;
    open my $save, '>&', \*STDOUT or die;
    open STDOUT, '>', 'stdout.txt' or die;
    $code->();
    open STDOUT, '>&', $save or die;
    open my $f, '<', 'stdout.txt' or die;
    local $/;
    return <$f>;
}

like(stdout_of(sub { Korval::setxid(4711, 'WINDOW') }), qr/Warning 101: No display: window ids cannot be used in setxid/,
     'setxid without a display warns');
like(stdout_of(sub { Korval::setxid(1, 'XXXX') }), qr/Incorrect parameter in setxid/, 'setxid checks its key');
is(Korval::getxid('WIND'), 0, 'getxid before korini names no window');
Korval::metafl('XWIN');
Korval::errfil('err.txt');
Korval::korini();
Korval::errmod('PROT', 'OFF');
is(Korval::getxid('WIND'), 0, 'no screen window without a display');
Korval::setxid(4711, 'WINDOW');
Korval::korfin();
open my $f, '<', 'err.txt' or die;
my $log = do { local $/; <$f> };
like($log, qr/Incorrect level in setxid/, 'setxid only before korini');
done_testing();
