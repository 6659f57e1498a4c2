# Contour lines, labels, shaded contours, contour points and triangles.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir);
use PsPlot qw(ps_plot strokes count_ops);
use Korval;

in_tempdir();

# A grid over the plot's user range 0..1000: z = f(x, y).
sub grid {
    my ($n, $f) = @_;
    my @x = map { 1000 * $_ / ($n - 1) } 0 .. $n - 1;
    my @z;
    for my $i (0 .. $n - 1) { for my $j (0 .. $n - 1) { $z[$i * $n + $j] = $f->($x[$i], $x[$j]) } }
    return (\@x, \@z);
}

sub drawn_length {
    my $len = 0;
    for my $s (@_) {
        for my $k (1 .. $#$s) { $len += sqrt(($s->[$k][0] - $s->[$k - 1][0])**2 + ($s->[$k][1] - $s->[$k - 1][1])**2) }
    }
    return $len;
}

subtest 'contur draws the level line where it belongs' => sub {
    my ($x, $z) = grid(11, sub { $_[0] });
    my $r = ps_plot(sub { Korval::contur($x, 11, $x, 11, $z, 250) });
    my @s = strokes($r->{ops});
    ok(@s >= 1, 'a line is drawn');
    my @pts = map { @$_ } @s;
    ok(!(grep { abs($_->[0] - 350) > 1 } @pts), 'every point on x = 250 (plot x 350)');
    cmp_ok(abs(drawn_length(@s) - 1000), '<', 5, 'from border to border');
    $r = ps_plot(sub { Korval::contur($x, 11, $x, 11, $z, 2000) });
    is(scalar(strokes($r->{ops})), 0, 'a level above every value draws nothing');
};

subtest 'labels interrupt the line' => sub {
    my ($x, $z) = grid(11, sub { $_[0] });
    my $plain = ps_plot(sub { Korval::contur($x, 11, $x, 11, $z, 500) });
    my $lab = ps_plot(sub {
        Korval::labels('FLOA', 'CONT');
        Korval::labdig(1, 'CONT');
        Korval::contur($x, 11, $x, 11, $z, 500);
    });
    my @s = grep { abs($_->[0][0] - 600) < 1 && @$_ > 1 } strokes($lab->{ops});
    my $gaps = 1000 - drawn_length(@s);
    ok($gaps > 50, 'parts of the line are left out for labels');
    cmp_ok(scalar(@s), '>=', 2, 'the line continues after the label');
    my @text = grep { abs($_->[0][0] - 600) >= 1 || @$_ == 1 } strokes($lab->{ops});
    ok(@text >= 3, 'the label is drawn beside the line');
    ok(!(grep { abs($_->[0] - 600) > 60 } map { @$_ } @text), 'in the gap');
    # A small closed line (shorter than 100 plot units) carries no label.
    my ($x2, $z2) = grid(41, sub { ($_[0] - 500)**2 + ($_[1] - 500)**2 });
    my $small = ps_plot(sub { Korval::labels('FLOA', 'CONT'); Korval::contur($x2, 41, $x2, 41, $z2, 12**2) });
    my $small_plain = ps_plot(sub { Korval::contur($x2, 41, $x2, 41, $z2, 12**2) });
    is(scalar(strokes($small->{ops})), scalar(strokes($small_plain->{ops})), 'no label on a short line');
    # conlab text instead of the level.
    my $text = ps_plot(sub {
        Korval::labels('CONL', 'CONT');
        Korval::conlab('ISO');
        Korval::contur($x, 11, $x, 11, $z, 500);
    });
    isnt(scalar(strokes($text->{ops})), scalar(strokes($lab->{ops})), 'conlab text in place of the number');
};

subtest 'concrv: labels only on straight stretches; thick lines' => sub {
    # A zigzag bending 40 degrees at every point never starts a label.
    my (@x, @y);
    for my $k (0 .. 40) { push @x, 50 + 20 * $k; push @y, 500 + ($k % 2 ? 8 : -8) }
    my $plain = ps_plot(sub { Korval::concrv(\@x, \@y, scalar @x, 1) });
    my $lab = ps_plot(sub { Korval::labels('FLOA', 'CONT'); Korval::concrv(\@x, \@y, scalar @x, 1) });
    is_deeply([strokes($lab->{ops})], [strokes($plain->{ops})], 'zigzag: no label');
    my $straight = ps_plot(sub { Korval::labels('FLOA', 'CONT'); Korval::concrv([50, 450, 950], [500, 500, 500], 3, 1) });
    ok(strokes($straight->{ops}) > strokes($plain->{ops}), 'a straight line gets a label');
    my $thick = ps_plot(sub { Korval::thkcrv(3); Korval::concrv([50, 950], [500, 500], 2, 1) });
    my @rows = sort { $a <=> $b } map { $_->[0][1] } strokes($thick->{ops});
    is(scalar(@rows), 3, 'thickness 3: three passes');
    ok(abs($rows[0] - 599) < 0.7 && abs($rows[1] - 600) < 0.7 && abs($rows[2] - 601) < 0.7, 'one plot unit apart');
};

subtest 'conmat and bad input' => sub {
    my $r = ps_plot(sub { Korval::conmat([1, 2, 3], 1, 3, 1.5) });
    like($r->{err}, qr/Warning\s+2:.*conmat/, 'n = 1: warning 2');
    my @z = map { $_ % 7 } 0 .. 99;
    $z[17] = 9**9**9;
    $z[42] = -9**9**9;
    $z[55] = 'nan' + 0;
    $r = ps_plot(sub { Korval::conmat(\@z, 10, 10, 3.5) });
    ok(strokes($r->{ops}) > 0, 'infinite and NaN values leave holes, the rest is drawn');
    my @p = map { @$_ } strokes($r->{ops});
    ok(!(grep { $_->[0] < 99 || $_->[0] > 1101 || $_->[1] < 99 || $_->[1] > 1101 } @p), 'all inside the axis system');
    eval { Korval::conmat([1, 2, 3], 2, 2, 1) };
    like($@, qr/conmat/, 'a matrix shorter than nx*ny is refused');
};

subtest 'conpts returns the lines' => sub {
    my ($x, $z) = grid(21, sub { ($_[0] - 500)**2 + ($_[1] - 500)**2 });
    my (@xp, @yp, @nr);
    my $n = Korval::conpts($x, 21, $x, 21, $z, 300**2, \@xp, \@yp, 1000, \@nr, 10);
    is($n, 1, 'one closed line');
    is(scalar(@nr), 1, 'one count');
    is(scalar(@xp), $nr[0], 'as many points as counted');
    ok(!(grep { abs(sqrt(($xp[$_] - 500)**2 + ($yp[$_] - 500)**2) - 300) > 10 } 0 .. $#xp), 'on the circle');
    is_deeply([$xp[0], $yp[0]], [$xp[-1], $yp[-1]], 'closed: ends on its first point');
};

sub fills { my ($r) = @_; return count_ops($r->{ops}, 'fill') }

# The filled polygons in plot coordinates (the page is turned: device x is
# plot y).
sub fill_polygons {
    my ($r) = @_;
    my ($body) = $r->{ps} =~ /setlinewidth\s+\S+\s+\S+\s+scale\s(.*)showpage/s;
    my (@polys, @cur, @num);
    for my $t (split ' ', $body // '') {
        if ($t =~ /^-?\d+(\.\d+)?$/) { push @num, $t; next }
        if ($t eq 'u' || $t eq 'd') {
            my ($X, $Y) = splice(@num, -2);
            @cur = () if $t eq 'u';
            push @cur, [$Y / 1.857142857, $X / 1.857142857];
        } elsif ($t eq 'eofill') {
            push @polys, [@cur];
            @cur = ();
        }
        @num = ();
    }
    return @polys;
}

subtest 'conshd fills the bands' => sub {
    my ($x, $z) = grid(11, sub { $_[0] });
    my $r = ps_plot(sub { Korval::conshd($x, 11, $x, 11, $z, [250, 500, 750], 3) });
    ok(fills($r) >= 4, 'bands filled');
    is($r->{err}, '', 'no warning');
    $r = ps_plot(sub {
        Korval::conclr([10, 20, 30], 3);
        Korval::conshd($x, 11, $x, 11, $z, [100, 300, 500, 700, 900], 5);
    });
    like($r->{err}, qr/More contour levels as defined colours/, 'more levels than colours: warning 101');
    ok(fills($r) >= 5, 'and still filled');
    my $both = ps_plot(sub { Korval::conshd($x, 11, $x, 11, $z, [250, 750], 2) });
    my $none = ps_plot(sub { Korval::shdmod('NONE', 'CELL'); Korval::conshd($x, 11, $x, 11, $z, [250, 750], 2) });
    my @xs = map { $_->[0] } map { @$_ } fill_polygons($none);
    ok(@xs > 0, 'NONE: the middle band is filled');
    ok(!(grep { $_ < 350 - 1 || $_ > 850 + 1 } @xs), 'NONE: the outer bands stay empty');
    @xs = map { $_->[0] } map { @$_ } fill_polygons($both);
    ok((grep { $_ < 340 } @xs) && (grep { $_ > 860 } @xs), 'BOTH: the outer bands are filled');
    # POLY: lines that all end on the border fill nothing.
    $r = ps_plot(sub { Korval::shdmod('POLY', 'CONT'); Korval::conshd($x, 11, $x, 11, $z, [250, 500], 2) });
    is(fills($r), 0, 'POLY: open lines are not filled');
    my ($x2, $z2) = grid(21, sub { -(($_[0] - 500)**2 + ($_[1] - 500)**2) });
    $r = ps_plot(sub { Korval::shdmod('POLY', 'CONT'); Korval::conshd($x2, 21, $x2, 21, $z2, [-300**2], 1) });
    is(fills($r), 1, 'POLY: a closed line is filled');
};

subtest 'triangulation' => sub {
    my (@a, @b, @c);
    my $n = Korval::triang([0, 1, 1, 0], [0, 0, 1, 1], 4, \@a, \@b, \@c, 9);
    is($n, 2, 'a square: two triangles');
    is(scalar(@a), 2, 'the arrays hold the triangles');
    my %used = map { $_ => 1 } @a, @b, @c;
    is_deeply([sort keys %used], [1, 2, 3, 4], 'vertex numbers are 1-based');
    my ($out) = KTest::run_script(q{
        use Korval; Korval::korini(); my (@a, @b, @c);
        print "n=", Korval::triang([0, 1, 1, 0], [0, 0, 1, 1], 4, \@a, \@b, \@c, 8), "\n";
    });
    like($out, qr/n=0/, 'nmax = 2n: no triangles');
    my ($xm, $ym, $rr) = (0, 0, 0);
    Korval::circ3p(0, 0, 2, 0, 0, 2, $xm, $ym, $rr);
    ok(abs($xm - 1) < 1e-6 && abs($ym - 1) < 1e-6 && abs($rr - sqrt(2)) < 1e-6, 'circ3p');
};

subtest 'contours over triangles' => sub {
    # A square of four triangles around its centre; z = x.
    my @x = (0, 1000, 1000, 0, 500);
    my @y = (0, 0, 1000, 1000, 500);
    my @z = @x;
    my @i1 = (1, 2, 3, 4);
    my @i2 = (2, 3, 4, 1);
    my @i3 = (5, 5, 5, 5);
    my $r = ps_plot(sub { Korval::contri(\@x, \@y, \@z, 5, \@i1, \@i2, \@i3, 4, 250) });
    my @p = map { @$_ } strokes($r->{ops});
    ok(@p >= 2 && !(grep { abs($_->[0] - 350) > 1 } @p), 'the line at x = 250');
    my (@xp, @yp, @nr);
    my $nl = Korval::tripts(\@x, \@y, \@z, 5, \@i1, \@i2, \@i3, 4, 250, \@xp, \@yp, 100, \@nr, 10);
    is($nl, 1, 'tripts: one chained line');
    is($nr[0], 4, 'through four triangle edges');
    $r = ps_plot(sub { Korval::confll(\@x, \@y, \@z, 5, \@i1, \@i2, \@i3, 4, [250, 750], 2) });
    ok(fills($r) >= 6, 'confll fills the bands of every triangle');
    $r = ps_plot(sub { Korval::crvtri(\@x, \@y, \@z, 5, \@i1, \@i2, \@i3, 4) }, graf3 => [0, 1000, 0, 100]);
    is(fills($r), 4, 'crvtri FLAT: one fill per triangle');
    $r = ps_plot(sub { Korval::shdmod('SMOO', 'SURF'); Korval::crvtri(\@x, \@y, \@z, 5, \@i1, \@i2, \@i3, 4) },
                 graf3 => [0, 1000, 0, 100]);
    like($r->{err}, qr/Warning\s+40:.*crvtri/, 'SMOO needs a raster format');
    Korval::metafl('PNG');
    Korval::setfil('smooth.png');
    Korval::filmod('DELE');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::shdmod('SMOO', 'SURF');
    Korval::graf3(0, 1000, 0, 100, 0, 1000, 0, 100, 0, 1000, 0, 100);
    Korval::crvtri(\@x, \@y, \@z, 5, \@i1, \@i2, \@i3, 4);
    Korval::korfin();
    ok(-s 'smooth.png', 'SMOO on a raster format');
    is(KTest::slurp('korval.err') // '', '', 'without warnings');
};

done_testing();
