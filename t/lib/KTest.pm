package KTest;
# Helpers for the Perl tests: temporary working directories and scripts run
# in a separate interpreter with their output captured.
use strict;
use warnings;
use Exporter 'import';
use File::Temp qw(tempdir);
use File::Spec;
use Cwd qw(getcwd abs_path);

our @EXPORT_OK = qw(in_tempdir run_script slurp inc_args routine_list);

# The module's build directories, as given to prove with -I.
sub inc_args {
    my @dirs = grep { -e "$_/Korval.pm" || -d "$_/auto/Korval" } @INC;
    return map { ("-I", abs_path($_)) } @dirs;
}

# Changes into a fresh temporary directory (removed at exit).
sub in_tempdir {
    my $dir = tempdir(CLEANUP => 1);
    chdir $dir or die "chdir $dir: $!";
    return $dir;
}

# Runs perl code in a new interpreter in the current directory; returns
# (stdout, stderr, exit status).
sub run_script {
    my ($code, %opt) = @_;
    my $dir = tempdir(CLEANUP => 1);
    my $script = "$dir/script.pl";
    open my $fh, '>', $script or die $!;
    print $fh $code;
    close $fh;
    local %ENV = (%ENV, %{ $opt{env} || {} });
    my @cmd = ($^X, inc_args(), $script);
    my $cmd = join(' ', map { quotemeta } @cmd) . " >$dir/out 2>$dir/err";
    system($cmd);
    my $status = $? >> 8;
    return (slurp("$dir/out"), slurp("$dir/err"), $status);
}

sub slurp {
    my ($file) = @_;
    open my $fh, '<', $file or return undef;
    local $/;
    my $s = <$fh>;
    return $s;
}

# name => usage arguments, for every routine of the library.
sub routine_list {
    my $file = File::Spec->catfile(dirname_of(__FILE__), '..', 'data', 'routines.txt');
    open my $fh, '<', $file or die "$file: $!";
    my %r;
    while (<$fh>) {
        chomp;
        next unless /^(\w+)\((.*)\)$/;
        $r{$1} = $2;
    }
    return %r;
}

sub dirname_of {
    my ($f) = @_;
    my ($v, $d) = File::Spec->splitpath(abs_path($f));
    return File::Spec->catpath($v, $d, '');
}

1;
