# Maps: settings and their warnings, map axis systems and known projected
# points, the map files (own maps, GSHHS and text files, corrupt files),
# shading, map curves and the user projection called back in Perl.
use strict;
use warnings;
use Test::More;
use FindBin;
use File::Spec;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp run_script);
use Korval;

$ENV{KORVAL} //= File::Spec->catdir($FindBin::Bin, '..', 'data');

my $F = 853 / 2970;    # pixels per plot unit of the VIRT picture

sub warnings_text {
    my $s = slurp('korval.err') // '';
    unlink 'korval.err';
    return $s;
}

# Opens a VIRT plot with a map axis system of 1801 by 901 plot units.
sub open_map {
    my (%o) = @_;
    Korval::metafl('VIRT');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::axslen($o{nxl} // 1801, $o{nyl} // 901);
    Korval::axspos(500, 1500);
    Korval::projct($o{proj} // 'CYLI');
    $o{setup}->() if $o{setup};
    Korval::grafmp(@{ $o{range} // [-180, 180, -180, 60, -90, 90, -90, 30] });
}

# Colour indices of the picture at map points (after korfin).
sub colours_at {
    my (@points) = @_;
    my @pix = map { my ($x, $y) = @$_; [int($x * $F + 0.5), int($y * $F + 0.5)] } @points;
    return \@pix;
}

# The colour at each pixel: the first non-background colour of its 3 by 3
# neighbourhood (lines are one pixel wide), else 0.
sub read_pixels {
    my ($pix) = @_;
    Korval::imgini();
    my @c;
    for my $p (@$pix) {
        my $c = 0;
        for my $d ([0, 0], [0, -1], [0, 1], [-1, 0], [1, 0], [-1, -1], [1, 1], [-1, 1], [1, -1]) {
            my $v = Korval::rpixel($p->[0] + $d->[0], $p->[1] + $d->[1]);
            if ($v) { $c = $v; last }
        }
        push @c, $c;
    }
    Korval::imgfin();
    return @c;
}

sub plot_of {
    my ($lon, $lat) = @_;
    my ($x, $y);
    Korval::pos2pt($lon, $lat, $x, $y);
    return [map { 0 + sprintf('%.2f', $_) } $x, $y];
}

subtest 'settings: keys, ranges and levels' => sub {
    in_tempdir();
    Korval::metafl('VIRT');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::projct('XXXX');
    Korval::mapref(-30, 10);
    Korval::mapref(10, 60);
    Korval::mapref(-60, -10);
    Korval::mappol(200, 0);
    Korval::mapsph(0);
    Korval::mapsph(90);
    Korval::maplev('BOTH');
    Korval::mapmod('GREA');
    Korval::mapbas('GSHL');
    Korval::mapfil('x.txt', 'NONE');
    Korval::mplsiz(-1);
    Korval::mplclr(1, 2);
    Korval::grafmp(-180, 180, -180, 60, -90, 90, -90, 30);
    Korval::projct('CYLI');
    # reset: the projection returns to "CYLI", the line mode to "INTE".
    Korval::endgrf();
    Korval::projct('MERC');
    Korval::reset('PROJ');
    Korval::grafmp(-180, 180, -180, 60, -90, 90, -90, 30);
    my $y45 = plot_of(0, 45)->[1];
    my ($nxa, $nya, $nxl, $nyl, $nzl);
    Korval::getpos($nxa, $nya);
    Korval::getlen($nxl, $nyl, $nzl);
    Korval::korfin();
    my $w = warnings_text();
    like($w, qr/Warning\s+3: .* in projct!/, 'projct only at level 1');
    like($w, qr/Warning\s+2: Incorrect parameter in projct!\s+\(XXXX\)/, 'unknown projection key');
    my @mapref = $w =~ /(Warning\s+2: Incorrect parameter in mapref!)/g;
    is(scalar @mapref, 1, 'mapref: (-30, 10) straddles the equator, (10, 60) and (-60, -10) are accepted');
    like($w, qr/Warning\s+2: Incorrect parameter in mappol!/, 'mappol longitude range');
    my @sph = $w =~ /(in mapsph!)/g;
    is(scalar @sph, 1, 'mapsph: 0 rejected, 90 accepted');
    unlike($w, qr/maplev|mapmod|mapbas|mplclr/, 'BOTH, GREA, GSHL and colours are accepted');
    like($w, qr/in mapfil!\s+\(NONE\)/, 'mapfil file type');
    like($w, qr/in mplsiz!/, 'negative label height');
    ok(abs($y45 - ($nya - 0.75 * ($nyl - 1))) < 0.01, 'reset PROJ gives the cylindrical projection');
};

subtest 'grafmp: range checks leave level 1' => sub {
    in_tempdir();
    for my $case (['CONF', [-180, 180, -180, 60, -30, 30, -30, 10], qr/Warning\s+2: Incorrect parameter in grafmp/],
        ['AITO', [-180, 180, -180, 60, -90, 100, -90, 30], qr/Warning\s+2: Incorrect parameter in grafmp/],
        ['CYLI', [180, -180, 180, -60, -90, 90, -90, 30], qr/Map ranges must increase in grafmp/],
        ['CYLI', [-180, 180, -180, 60, -90, 9**9**9 - 9**9**9, -90, 30], qr/Warning\s+2: Incorrect parameter/],
        ['GNOM', [-100, 100, -100, 10, 0, 60, 0, 10], qr/Warning\s+2: Incorrect parameter in grafmp/])
    {
        my ($proj, $range, $re) = @$case;
        open_map(proj => $proj, range => $range);
        is(Korval::getlev(), 1, "$proj: no axis system");
        Korval::korfin();
        like(warnings_text(), $re, "$proj: warning");
    }
    open_map(proj => 'CONF', range => [-20, 40, -20, 10, 35, 70, 35, 5]);
    is(Korval::getlev(), 2, 'a European conical map is accepted');
    Korval::endgrf();
    Korval::korfin();
    is(warnings_text(), '', 'without warnings');
};

subtest 'known points of the cylindrical and Mercator maps' => sub {
    in_tempdir();
    open_map();
    my ($nxa, $nya) = (500, 1500);
    is_deeply(plot_of(-180, -90), [$nxa, $nya], 'lower left corner');
    is_deeply(plot_of(180, 90), [$nxa + 1800, $nya - 900], 'upper right corner');
    is_deeply(plot_of(0, 0), [$nxa + 900, $nya - 450], 'centre');
    is(0 + sprintf('%.2f', Korval::x2dpos(90, 45)), $nxa + 1350, 'x2dpos');
    is(0 + sprintf('%.2f', Korval::y2dpos(90, 45)), $nya - 675, 'y2dpos');
    Korval::endgrf();
    Korval::projct('MERC');
    Korval::grafmp(-180, 180, -180, 60, -60, 90, -60, 30);
    my $top = plot_of(0, 90);
    is($top->[1], $nya - 900, 'Mercator: latitude 90 is drawn at 89.99, the top of the axis system');
    ok(abs(plot_of(0, 90)->[1] - plot_of(0, 89.99)->[1]) < 0.05, 'the pole and 89.99 coincide');
    ok(plot_of(0, 30)->[1] - plot_of(0, 60)->[1] > plot_of(0, 0)->[1] - plot_of(0, 30)->[1],
        'parallels spread towards the pole');
    my ($x, $y) = (0, 0);
    Korval::pos2pt(9**9**9, 0, $x, $y);
    ok(abs($x) <= 1e6 && abs($y) <= 1e6, 'an infinite longitude is clamped');
    Korval::korfin();
    is(warnings_text(), '', 'no warnings');
};

subtest 'world: copies of a cylindrical map wider than the globe' => sub {
    in_tempdir();
    open_map(range => [-270, 90, -270, 60, -90, 90, -90, 30]);
    Korval::setclr(138);
    Korval::shdpat(16);
    Korval::shdmap('ALL');
    Korval::setclr(254);
    Korval::world();
    # Mongolia (110 E, 47 N) appears shifted by -360; Africa in place; the
    # Atlantic and the Pacific stay empty.
    my $pix = colours_at(plot_of(110 - 360, 47), plot_of(20, 10), plot_of(-30, 0), plot_of(-140, 0));
    Korval::korfin();
    my @c = read_pixels($pix);
    is_deeply(\@c, [138, 138, 0, 0], 'land of both copies filled, oceans empty');
    is(warnings_text(), '', 'no warnings');
};

subtest 'shdmap: polygons across the seam of a world map' => sub {
    in_tempdir();
    # Centred on 90 W, the seam runs through Asia at 90 E.
    open_map(proj => 'HAMM', range => [-180, 0, -180, 30, -90, 90, -90, 30]);
    Korval::setclr(138);
    Korval::shdpat(16);
    Korval::shdmap('ALL');
    my $pix = colours_at(plot_of(-100, 40), plot_of(-40, 50), plot_of(-30, 60));
    Korval::korfin();
    is_deeply([read_pixels($pix)], [138, 0, 0], 'North America filled, the North Atlantic empty');
    is(warnings_text(), '', 'no warnings');
};

subtest 'shdeur and shdusa' => sub {
    in_tempdir();
    open_map(range => [-20, 40, -20, 10, 35, 70, 35, 5], proj => 'CONF');
    Korval::shdeur([14, 13], [16, 16], [30, 200], 2);    # Germany, France
    my $pix = colours_at(plot_of(10, 51), plot_of(2, 47), plot_of(-15, 45));
    Korval::shdeur([14], [16], [30], 0);
    Korval::shdeur([47], [16], [30], 1);
    Korval::korfin();
    is_deeply([read_pixels($pix)], [30, 200, 0], 'Germany and France in their colours, the sea empty');
    my @w = warnings_text() =~ /(Warning\s+2: Incorrect parameter in shdeur)/g;
    is(scalar @w, 2, 'count 0 and country 47 are rejected');

    open_map(range => [-125, -65, -120, 10, 24, 50, 25, 5]);
    my @all = (0 .. 51);
    Korval::shdusa(\@all, [map {16} @all], [map { $_ == 44 ? 254 : 100 } @all], 52);
    $pix = colours_at(plot_of(-99, 31), plot_of(-89, 40), plot_of(-122, 30));
    Korval::korfin();
    is_deeply([read_pixels($pix)], [254, 100, 0], 'Texas, Illinois and the Pacific');
    is(warnings_text(), '', 'all 52 areas in one call');
};

subtest 'base maps: GSHHS and text files, missing and corrupt files' => sub {
    my $dir = in_tempdir();
    # A text map: one line along the equator, a "#" line, one along 30 N.
    open my $fh, '>', 'line.txt' or die;
    print $fh "0 0\n40 0\n#\n0 30\n40 30\n";
    close $fh;
    # A GSHHS file: polygon of level 1 at 10 S and of level 2 at 20 S.
    my $g = '';
    for my $p ([1, -10], [2, -20]) {
        my ($level, $lat) = @$p;
        $g .= pack('N8 n2', 1, 2, $level, 0, 0, 0, 0, 0, 0, 0);
        $g .= pack('N4', 0, ($lat * 1e6) & 0xffffffff, 10e6, ($lat * 1e6) & 0xffffffff);
    }
    open $fh, '>:raw', 'shore.b' or die;
    print $fh $g;
    close $fh;
    open $fh, '>:raw', 'short.b' or die;
    print $fh substr($g, 0, 50);
    close $fh;

    open_map();
    Korval::setclr(254);
    Korval::mapbas('MAPF');
    Korval::world();    # no mapfil yet
    Korval::mapfil('line.txt', 'MAPG');
    Korval::world();
    Korval::setclr(100);
    Korval::mapfil('shore.b', 'GSHH');
    Korval::maplev('LAKE');
    Korval::world();
    Korval::mapfil('short.b', 'GSHH');
    Korval::world();
    Korval::mapfil('none.b', 'GSHH');
    Korval::world();
    my $pix = colours_at(plot_of(20, 0), plot_of(20, 30), plot_of(20, 15), plot_of(5, -10), plot_of(5, -20));
    Korval::korfin();
    is_deeply([read_pixels($pix)], [254, 254, 0, 0, 100], 'text lines, and only the lake level of the GSHHS file');
    my $w = warnings_text();
    like($w, qr/No call to MAPFIL before in world/, 'MAPF without mapfil');
    like($w, qr/read error in world/, 'truncated GSHHS file');
    like($w, qr/Warning\s+36: File error in world!\s+\(none\.b\)/, 'missing user file');

    # "BOTH" draws every level, as "ALL" does.
    open_map(setup => sub { Korval::mapbas('MAPF'); Korval::mapfil('shore.b', 'GSHH'); Korval::maplev('BOTH') });
    Korval::setclr(50);
    Korval::world();
    $pix = colours_at(plot_of(5, -10), plot_of(5, -20));
    Korval::korfin();
    is_deeply([read_pixels($pix)], [50, 50], 'maplev BOTH: land and lakes');
    is(warnings_text(), '', 'without warnings');

    # An installation whose map files are missing or corrupt.
    mkdir 'inst';
    mkdir 'inst/map';
    open $fh, '>:raw', 'inst/map/map1.dat' or die;
    print $fh pack('l<*', map { ($_ * 7919) % 400000 - 200000 } 1 .. 997), "\x01\x02";
    close $fh;
    open $fh, '>:raw', 'inst/map/map2.dat' or die;
    print $fh pack('l<*', -1, 14000, (5000) x 5001, -9000, 0);    # more than 2000 points
    close $fh;
    my ($out, $err, $status) = run_script(<<'EOF', env => { KORVAL => "$dir/inst" });
use Korval;
Korval::metafl('VIRT');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::grafmp(-180, 180, -180, 60, -90, 90, -90, 30);
Korval::world();
Korval::shdmap('ALL');
Korval::shdeur([14], [16], [3], 1);
Korval::mapbas('GSHL');
Korval::world();
Korval::korfin();
print "done\n";
EOF
    is($status, 0, 'corrupt map files do not crash');
    like($out, qr/done/, 'the script runs to its end');
    $w = slurp('korval.err') // '';
    like($w, qr/Internal error: Overflow of map coordinates in shdeur/, 'overflowing polygon');
    like($w, qr/Warning\s+36: File error in world!\s+\(\Q$dir\E\/inst\/map\/gshhs_l\.b\)/, 'missing GSHHS file');
    unlink 'korval.err';
};

subtest 'curvmp, gridmp and map labels' => sub {
    in_tempdir();
    open_map(proj => 'AITO');
    Korval::mpaepl(1);
    Korval::mplsiz(30);
    Korval::mplclr(-1, 50);
    Korval::setclr(20);
    Korval::gridmp(1, 1);
    Korval::polcrv('SPLI');
    Korval::setclr(254);
    Korval::curvmp([0, 40, 9**9**9, 60], [0, 0, 0, 30], 4);
    Korval::polcrv('LINE');
    Korval::mapmod('GREA');
    Korval::setclr(100);
    Korval::curvmp([-100, -20], [20, 20], 2);
    my $pix = colours_at(plot_of(20, 0), plot_of(50, 15), plot_of(-60, 25.4));
    Korval::korfin();
    my @c = read_pixels($pix);
    is($c[0], 254, 'curve on the equator');
    is($c[1], 0, 'the NaN point lifts the pen');
    is($c[2], 100, 'the great circle between 100 W and 20 W bulges north');
    like(warnings_text(), qr/Warning\s+14: .* in curvmp/, 'only linear interpolation');
};

subtest 'xaxmap and yaxmap' => sub {
    in_tempdir();
    open_map(setup => sub { Korval::nograf(); Korval::xaxmap(-180, 180, -180, 60, 'Longitude', 0, 1000) });
    Korval::setclr(254);
    Korval::xaxmap(-180, 180, -180, 60, 'Longitude', 0, 1100);
    Korval::setclr(100);
    Korval::yaxmap(-90, 90, -90, 30, 'Latitude', 0, 1400);
    Korval::xaxmap(9**9**9, 180, -180, 60, '', 0, 1100);
    # Labels every 60 degrees: 60 W at x = 1100; the tick reaches 24 below.
    my $pix = colours_at([1000, 1100], [1400, 800], [1100, 1112], [1000, 1112]);
    Korval::korfin();
    my @c = read_pixels($pix);
    is_deeply(\@c, [254, 100, 254, 0], 'axis lines at the given positions, a tick at 60 W only');
    my $w = warnings_text();
    like($w, qr/Warning\s+3: .* in xaxmap/, 'only with an axis system');
    like($w, qr/Warning\s+2: Incorrect parameter in xaxmap/, 'infinite range');
};

subtest 'hemisphere: the circle clips lines' => sub {
    in_tempdir();
    open_map(proj => 'ORTH', nxl => 1201, nyl => 1201, setup => sub { Korval::mappol(0, 45) });
    Korval::setclr(254);
    Korval::gridmp(1, 1);
    Korval::world();
    my $c = plot_of(0, 45);
    my $pix = colours_at([$c->[0] + 590, $c->[1] + 590], [$c->[0] - 590, $c->[1] - 590]);
    Korval::korfin();
    is_deeply($c, [1100, 900], 'the map centre lies at the centre of the axis system');
    is_deeply([read_pixels($pix)], [0, 0], 'nothing outside the circle');
    is(warnings_text(), '', 'no warnings');
};

subtest 'gnomonic map: shading inside the horizon' => sub {
    in_tempdir();
    open_map(proj => 'GNOM', nxl => 1201, nyl => 1201,
        setup => sub { Korval::mappol(20, 0); Korval::mapsph(60) });
    Korval::setclr(138);
    Korval::shdpat(16);
    Korval::shdmap('AFRI');
    # Africa at the centre; near the circle (55 degrees away) no Africa.
    my @edge = map { my $a = $_ * 3.14159265 / 4; [1100 + 560 * cos($a), 900 - 560 * sin($a)] } 0 .. 7;
    my $pix = colours_at(plot_of(20, 0), @edge);
    Korval::korfin();
    my @c = read_pixels($pix);
    is($c[0], 138, 'the centre of Africa is filled');
    is_deeply([@c[1 .. 8]], [(0) x 8], 'no fill towards the horizon');
    is(warnings_text(), '', 'no warnings');
};

subtest 'setcbk: a projection written in Perl' => sub {
    in_tempdir();
    my ($out, $err, $status) = run_script(<<'EOF');
use Korval;
sub square { $_[0] = $_[0] * $_[0]; }
sub keep { my ($x, $y) = @_; }
sub fail { die "no projection here\n" }
sub nested { my ($x, $y); Korval::pos2pt($_[0], $_[1], $x, $y); $_[0] = $_[0] * 2; }
Korval::metafl('VIRT');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::axslen(1001, 1001);
Korval::axspos(500, 1500);
Korval::projct('MYPR');
Korval::setcbk('main::square', 'MYPR');
Korval::grafmp(0, 10, 0, 2, 0, 10, 0, 2);
my ($x, $y);
Korval::pos2pt(5, 5, $x, $y);
print "square $x $y\n";
Korval::endgrf();
Korval::setcbk('main::keep', 'MYPR');
Korval::grafmp(0, 10, 0, 2, 0, 10, 0, 2);
Korval::pos2pt(5, 5, $x, $y);
print "keep $x $y\n";
Korval::endgrf();
Korval::setcbk('main::fail', 'MYPR');
Korval::grafmp(0, 10, 0, 2, 0, 10, 0, 2);
Korval::pos2pt(5, 5, $x, $y);
print "fail $x $y\n";
Korval::curvmp([0, 10], [0, 10], 2);
Korval::endgrf();
Korval::setcbk('main::nested', 'MYPR');
Korval::grafmp(0, 10, 0, 2, 0, 10, 0, 2);
Korval::pos2pt(5, 5, $x, $y);
print "nested $x $y\n";
Korval::korfin();
print "done\n";
EOF
    is($status, 0, 'a dying callback does not end the script');
    like($out, qr/^square 750 1000$/m, 'the callback squares x: 25 of 100');
    like($out, qr/^keep 1000 1000$/m, 'a callback that assigns nothing keeps the coordinates');
    like($out, qr/^nested 1000 1000$/m, 'a callback may project points itself');
    like($out, qr/^done$/m, 'the script runs to its end');
    my $w = slurp('korval.err') // '';
    my @fails = $w =~ /(no projection here)/g;
    is(scalar @fails, 1, 'the failing callback is reported once');
    like($w, qr/Error in the projection callback main::fail: no projection here in grafmp/, 'with its message');
    unlink 'korval.err';
};

done_testing();
