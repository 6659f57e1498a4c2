# Raster output: the picture, every image file format, the pixel routines,
# the own picture format read back, and the PNG buffer.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp run_script);
use KImage qw(png_chunks png_pixels have_tool);
use Korval;

$ENV{SOURCE_DATE_EPOCH} = 1700000000;

# One plot in format $fmt with the page border and two diagonals; $setup
# runs before korini, $inside before korfin.
sub plot {
    my ($fmt, %opt) = @_;
    Korval::metafl($fmt);
    $opt{setup}->() if $opt{setup};
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::pagera();
    Korval::line(100, 100, 2800, 2000);
    Korval::line(100, 2000, 2800, 100);
    $opt{inside}->() if $opt{inside};
    Korval::korfin();
}

sub warnings_text { return slurp('korval.err') // '' }

sub tool_ok {
    my ($cmd, $name) = @_;
    my $out = `$cmd 2>&1`;
    is($?, 0, $name) or diag($out);
    return $out;
}

subtest 'PNG: chunks, palette and pixels' => sub {
    in_tempdir();
    plot('PNG');
    my $png = slurp('korval.png');
    my @types = map { $_->[0] } png_chunks($png);
    is_deeply(\@types, [qw(IHDR PLTE IDAT IEND)], 'chunk order of an indexed picture');
    my ($w, $h, $bpp, $rows, $plte) = png_pixels($png);
    is("$w x $h", '853 x 603', 'the default picture size');
    is($bpp, 1, 'one colour index per pixel');
    is(length $plte, 256 * 3, '256 palette entries for this colour table');
    is(ord(substr($rows->[0], 0, 1)), 255, 'the page border is drawn in colour 255');
    is(ord(substr($rows->[300], 300, 1)), 0, 'the background is colour 0');
    # The diagonal from (100, 100) meets the middle of the picture.
    my $f = 602 / 2099 < 852 / 2969 ? 602 / 2099 : 852 / 2969;
    my $cx = int(1450 * $f + 0.5);
    my $cy = int(1050 * $f + 0.5);
    my $near = grep { ord(substr($rows->[$cy], $_, 1)) == 255 } $cx - 2 .. $cx + 2;
    ok($near > 0, 'the diagonals cross in the middle');
    tool_ok('pngcheck korval.png', 'pngcheck accepts the file') if have_tool('pngcheck');
};

subtest 'PNG: RGB pictures and transparency' => sub {
    in_tempdir();
    plot('PNG', setup => sub { Korval::imgfmt('RGB'); Korval::pngmod('ON', 'TRAN') });
    my @c = png_chunks(slurp('korval.png'));
    is_deeply([map { $_->[0] } @c], [qw(IHDR tRNS IDAT IEND)], 'no palette, a transparency chunk');
    is(unpack('H*', $c[1][1]), '00ff00ff00ff', 'white is transparent');
    is(unpack('x9 C', $c[0][1]), 2, 'colour type 2');
    tool_ok('pngcheck korval.png', 'pngcheck accepts the RGB file') if have_tool('pngcheck');
    in_tempdir();
    plot('PNG', setup => sub { Korval::imgfmt('IND'); Korval::pngmod('ON', 'TRAN') });
    @c = png_chunks(slurp('korval.png'));
    is_deeply([map { $_->[0] } @c], [qw(IHDR PLTE tRNS IDAT IEND)], 'indexed: tRNS after PLTE');
    is(unpack('H*', $c[2][1]), '00', 'palette entry 0 is transparent');
    Korval::pngmod('OFF', 'TRAN');
    Korval::pngmod('ON', 'XXXX');
    is(Korval::getlev(), 0, 'level 0');
};

subtest 'TIFF, BMP and PPM files' => sub {
    in_tempdir();
    plot('TIFF');
    my $t = slurp('korval.tif');
    is(substr($t, 0, 8), "II\x2a\x00\x08\x00\x00\x00", 'little-endian header, directory at 8');
    is(unpack('v', substr($t, 8, 2)), 14, '14 directory entries for an indexed picture');
    if (have_tool('tiffinfo')) {
        my $info = tool_ok('tiffinfo korval.tif', 'tiffinfo reads the file');
        like($info, qr/Image Width: 853 Image Length: 603/, 'its size');
        like($info, qr/Photometric Interpretation: palette/, 'a palette picture');
        unlike($info, qr/rror|arning/, 'no complaints');
    }
    in_tempdir();
    plot('TIFF', setup => sub { Korval::imgfmt('RGB'); Korval::tifmod(50, 'CM', 'RESO') });
    $t = slurp('korval.tif');
    is(unpack('v', substr($t, 8, 2)), 10, '10 entries for an RGB picture');
    tool_ok('tiffinfo korval.tif', 'tiffinfo reads the RGB file') if have_tool('tiffinfo');
    Korval::imgfmt('IND');

    in_tempdir();
    plot('PPM');
    my $p = slurp('korval.ppm');
    is(substr($p, 0, 15), "P6\n853 603\n255\n", 'PPM header');
    is(length $p, 15 + 853 * 603 * 3, 'RGB triples for every pixel');
    # winsiz stays for the process: this plot runs in a script of its own.
    in_tempdir();
    my (undef, $err, $st) = run_script(q{use Korval; Korval::metafl('BMP'); Korval::winsiz(101, 50);
        Korval::korini(); Korval::errmod('PROT', 'OFF'); Korval::pagera(); Korval::korfin();});
    is($st, 0, 'the BMP script runs') or diag($err);
    my $b = slurp('korval.bmp');
    my ($magic, $size, $r1, $r2, $off, $hs, $w, $h, $planes, $bits) = unpack('a2 V v v V V V V v v', $b);
    is($magic, 'BM', 'BMP magic');
    is("$w x $h x $bits", '101 x 50 x 8', 'size and depth from winsiz');
    is($off, 54 + 4 * 256, 'data after the palette');
    is($size, 104 * 50 + $off, 'rows padded to 104 bytes');
    is(length $b, $size, 'the file size as stated');

};

subtest 'own picture format, VIRT and wimage' => sub {
    in_tempdir();
    plot('IMAG');
    my $img = slurp('korval.img');
    is(substr($img, 0, 80),
       '!Bitmap KORVAL VIRT   853   603     8   856     8    32     0     1     0       ',
       'the 80-byte header');
    is(length $img, 80 + 856 * 603, 'rows of the padded length');

    # A VIRT picture: drawn, saved, changed, read back.
    in_tempdir();
    Korval::metafl('VIRT');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::line(0, 0, 2969, 2099);
    Korval::rimage('saved.img');
    ok(-s 'saved.img', 'rimage writes the picture');
    Korval::imgini();
    my @before;
    Korval::rpixls(\@before, 0, 0, 20, 10);
    Korval::wpixls([(7) x 200], 0, 0, 20, 10);
    my @changed;
    Korval::rpxrow(\@changed, 0, 5, 20);
    is_deeply(\@changed, [(7) x 20], 'wpixls and rpxrow');
    Korval::imgfin();
    Korval::wimage('saved.img');
    Korval::imgini();
    my @after;
    Korval::rpixls(\@after, 0, 0, 20, 10);
    is_deeply(\@after, \@before, 'wimage restores the saved picture');
    is(scalar(grep { $_ == 255 } @after) > 5, 1, 'the diagonal is in it (colour 255 read as 255)');
    Korval::imgfin();

    # Bad files: missing, truncated, not ours.
    open my $fh, '>:raw', 'cut.img' or die;
    print $fh substr(slurp('saved.img'), 0, 5000);
    close $fh;
    open $fh, '>:raw', 'junk.img' or die;
    print $fh 'x' x 200;
    close $fh;
    Korval::wimage('missing.img');
    Korval::wimage('cut.img');
    Korval::wimage('junk.img');
    Korval::korfin();
    is(warnings_text(),
       " <<<< Warning  36: File error in wimage!   (missing.img)\n"
     . " <<<< Warning  56: Incorrect file format in wimage!\n"
     . " <<<< Warning  56: Incorrect file format in wimage!\n",
       'file and format warnings');

    # VIRT keeps the picture after korfin for the pixel routines.
    Korval::imgini();
    ok(defined Korval::rpixel(0, 0), 'pixels after korfin');
    Korval::imgfin();
};

subtest 'pixel routines' => sub {
    in_tempdir();
    Korval::metafl('VIRT');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::wpixel(1, 1, 9);    # not open: 55
    Korval::imgini();
    Korval::imgini();           # already open: 54
    Korval::wpixel(3, 4, 200);
    is(Korval::rpixel(3, 4), 200, 'wpixel then rpixel');
    Korval::wpixel(5000, 4, 3);  # outside: ignored, no warning
    is(Korval::rpixel(5000, 4), 0, 'rpixel outside');
    Korval::wpxrow([1, 2, 3, 4], 850, 0, 4);
    my @row;
    Korval::rpxrow(\@row, 849, 0, 4);
    is_deeply(\@row, [0, 1, 2, 3], 'rows are cut at the picture edge');
    Korval::setvlt('GREY');     # entry 128 is 808080
    Korval::imgmod('RGB');
    Korval::wpixel(0, 0, 0x808080);
    Korval::imgmod('IND');
    is(Korval::rpixel(0, 0), 128, 'RGB values take the nearest colour of an indexed picture');
    Korval::imgfin();
    Korval::imgfin();           # 55
    Korval::korfin();
    is(warnings_text(),
       " <<<< Warning  55: No call to imgini in wpixel!\n"
     . " <<<< Warning  54: No call to imgfin in imgini!\n"
     . " <<<< Warning  58: Array is out of screen in rpixel!\n"
     . " <<<< Warning  55: No call to imgini in imgfin!\n",
       'warnings 55, 54, 58');
    in_tempdir();
    Korval::metafl('SVG');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::imgini();
    Korval::rpng('x.png');
    Korval::korfin();
    is(warnings_text(),
       " <<<< Warning  40: File format and output device are incompatible in imgini!\n"
     . " <<<< Warning  40: File format and output device are incompatible in rpng!\n",
       'no picture on SVG');
    ok(!-e 'x.png', 'nothing written');
};

subtest 'rbfpng and the image file routines' => sub {
    in_tempdir();
    my ($n, $n0, $short) = (0, 0, 'keep');
    plot('PNG', inside => sub {
        Korval::rpng('copy.png');
        Korval::rtiff('copy.tif');
        Korval::rppm('copy.ppm');
        Korval::rbmp('copy.bmp');
        my $s = '';
        $n0 = Korval::rbfpng($s, 1_000_000);
        $n = Korval::rbfpng($short, $n0 - 1);
        $main::png = $s;
    });
    is($n0, length $main::png, 'rbfpng returns the byte count');
    is($main::png, slurp('copy.png'), 'the same bytes as rpng');
    is($main::png, slurp('korval.png'), 'and as the file of korfin');
    is($n, 0, 'a buffer one byte short gives 0');
    is($short, 'keep', 'and leaves the string alone');
    like(warnings_text(), qr/Warning 101: Buffer too small for PNG file in rbfpng!/, 'the warning');
    ok(-s 'copy.tif' && -s 'copy.ppm' && -s 'copy.bmp', 'rtiff, rppm, rbmp');
    plot('PNG', inside => sub { Korval::rpng('copy.png') });
    ok(-e 'copy_1.png', 'an existing name gets a version');
};

subtest 'file errors' => sub {
    in_tempdir();
    for my $fmt (qw(PNG TIFF IMAG)) {
        in_tempdir();
        Korval::setfil("no/such/dir/pic.$fmt");
        plot($fmt);
        like(warnings_text(), qr{Warning  36: File error in korfin!   \(no/such/dir/pic\.$fmt\)}, "$fmt: warning 36 with the name");
        ok(!-e "no", 'nothing created');
    }
};

done_testing;
