package Gui;
# Drives a Perl script that opens windows: the script runs as a child
# process, the test finds its windows with xdotool, clicks and types into
# them, and collects the output.  Every wait is bounded.
use strict;
use warnings;
use Exporter 'import';
use File::Temp qw(tempdir);
use POSIX ':sys_wait_h';
use Time::HiRes qw(sleep time);

our @EXPORT_OK = qw(start_script find_window focus click key move finish screenshot
                    window_geometry wait_gone);

# Starts perl on the script text in a fresh directory; returns a handle.
sub start_script {
    my ($code) = @_;
    my $dir = tempdir(CLEANUP => 1);
    open my $fh, '>', "$dir/script.pl" or die $!;
    print $fh "use strict; use warnings; use Korval; \$| = 1;\n$code\n";
    close $fh;
    my $pid = fork;
    die "fork: $!" unless defined $pid;
    if ($pid == 0) {
        chdir $dir;
        open STDOUT, '>', "$dir/out" or die;
        open STDERR, '>', "$dir/err" or die;
        exec $^X, (map { "-I$_" } @INC), "$dir/script.pl";
        exit 127;
    }
    return {pid => $pid, dir => $dir};
}

# The id of the first window whose title matches the pattern, or undef
# after timeout seconds.
sub find_window {
    my ($title, $timeout) = @_;
    my $end = time + ($timeout // 10);
    while (time < $end) {
        my $out = `xdotool search --name '$title' 2>/dev/null`;
        my ($id) = split /\n/, $out;
        return $id if $id;
        sleep 0.1;
    }
    return undef;
}

# Waits until no window's title matches; true when it went.
sub wait_gone {
    my ($title, $timeout) = @_;
    my $end = time + ($timeout // 5);
    while (time < $end) {
        my $out = `xdotool search --name '$title' 2>/dev/null`;
        return 1 unless $out =~ /\d/;
        sleep 0.1;
    }
    return 0;
}

sub window_geometry {
    my ($id) = @_;
    my $out = `xdotool getwindowgeometry --shell $id 2>/dev/null`;
    my %g = $out =~ /^(\w+)=(\d+)/mg;
    return \%g;
}

sub focus { system("xdotool windowfocus --sync $_[0] >/dev/null 2>&1"); sleep 0.1 }

# Moves the pointer to client position (x, y) of the window.
sub move {
    my ($id, $x, $y) = @_;
    system("xdotool mousemove --window $id $x $y >/dev/null 2>&1");
    sleep 0.05;
}

# Clicks button b at client position (x, y); with b negative only presses
# or releases (see xdotool mousedown / mouseup): 'down' or 'up' as fourth.
sub click {
    my ($id, $x, $y, $b, $how) = @_;
    move($id, $x, $y);
    my $cmd = $how ? "mouse$how" : 'click';
    system("xdotool $cmd $b >/dev/null 2>&1");
    sleep 0.1;
}

sub key {
    my ($id, $k) = @_;
    focus($id);
    system("xdotool key $k >/dev/null 2>&1");
    sleep 0.1;
}

sub screenshot {
    my ($file) = @_;
    system("import -window root '$file' >/dev/null 2>&1") == 0;
}

# Waits for the script to end (at most timeout seconds, then kills it);
# returns (exit status or -1 when killed, stdout, stderr).
sub finish {
    my ($h, $timeout) = @_;
    my $end = time + ($timeout // 10);
    my $status = -1;
    while (time < $end) {
        my $r = waitpid($h->{pid}, WNOHANG);
        if ($r == $h->{pid}) { $status = $? >> 8; last }
        sleep 0.05;
    }
    if ($status < 0) {
        kill 'KILL', $h->{pid};
        waitpid($h->{pid}, 0);
    }
    my $read = sub { open my $f, '<', "$h->{dir}/$_[0]" or return ''; local $/; <$f> };
    return ($status, $read->('out'), $read->('err'));
}

1;
