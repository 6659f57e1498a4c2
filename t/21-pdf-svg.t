# PDF and SVG output: structure, the real readers, the PDF buffer, images
# embedded in PDF, and the same plot as PNG and as PDF compared.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp run_script);
use KImage qw(png_pixels read_pnm have_tool);
use Korval;

$ENV{SOURCE_DATE_EPOCH} = 1700000000;    # 14.11.2023 22:13:20 UTC

sub drawing {
    Korval::pagera();
    Korval::line(100, 100, 2000, 2800);
    Korval::line(100, 2800, 2000, 100);
    # A polygon of 40 sides around the middle of the page.
    my ($cx, $cy, $r) = (1050, 1480, 700);
    for my $i (0 .. 39) {
        my ($a, $b) = (2 * 3.14159265 * $i / 40, 2 * 3.14159265 * ($i + 1) / 40);
        Korval::line(int($cx + $r * cos $a), int($cy + $r * sin $a), int($cx + $r * cos $b),
                     int($cy + $r * sin $b));
    }
}

sub plot {
    my ($fmt, %opt) = @_;
    Korval::metafl($fmt);
    $opt{setup}->() if $opt{setup};
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    ($opt{draw} || \&drawing)->();
    $opt{inside}->() if $opt{inside};
    Korval::korfin();
}

sub tool_ok {
    my ($cmd, $name) = @_;
    my $out = `$cmd 2>&1`;
    is($?, 0, $name) or diag($out);
    return $out;
}

sub warnings_text { return slurp('korval.err') // '' }

subtest 'PDF file' => sub {
    in_tempdir();
    plot('PDF');
    my $pdf = slurp('korval.pdf');
    like($pdf, qr/\A%PDF-1\.3\n3 0 obj\n/, 'version line and the first content stream');
    like($pdf, qr{/Filter /FlateDecode}, 'compressed by default');
    like($pdf, qr{/MediaBox \[0 0 553 794\]}, 'the paper in points, portrait for a turned page');
    like($pdf, qr{/CreationDate \(D:20231114221320\)\n/Producer \(KORVAL 7\.6\)}, 'date and producer');
    like($pdf, qr{xref\n0 \d+\n0000000000 65535 f \n}, 'the cross-reference table counts object 0');
    if (have_tool('qpdf')) {
        tool_ok('qpdf --check korval.pdf', 'qpdf --check passes');
    }
    if (have_tool('pdfinfo')) {
        my $info = tool_ok('pdfinfo korval.pdf', 'pdfinfo reads it');
        like($info, qr/Pages:\s+1\n/, 'one page');
    }
    rename 'korval.pdf', 'first.pdf';
    plot('PDF');
    is(slurp('korval.pdf'), slurp('first.pdf'), 'byte-reproducible with SOURCE_DATE_EPOCH');
};

subtest 'PDF uncompressed, several pages' => sub {
    in_tempdir();
    plot('PDF', setup => sub { Korval::pdfmod('OFF', 'COMP') }, inside => sub {
        Korval::newpag();
        drawing();
    });
    Korval::pdfmod('ON', 'COMP');
    my $pdf = slurp('korval.pdf');
    unlike($pdf, qr{/FlateDecode}, 'no compression');
    like($pdf, qr{\A%PDF-1\.3\n3 0 obj\n<< /Length 4 0 R >>\nstream\n0\.709 w\n2 J\n2 j\n},
         'the stream refers to its length object');
    like($pdf, qr{endstream\nendobj\n4 0 obj\n\d+\nendobj\n}, 'the length object follows the stream');
    like($pdf, qr{/Count 2\n}, 'two pages');
    tool_ok('qpdf --check korval.pdf', 'qpdf --check passes') if have_tool('qpdf');
    my $info = have_tool('pdfinfo') ? `pdfinfo korval.pdf` : "Pages: 2\n";
    like($info, qr/Pages:\s+2\n/, 'pdfinfo sees two pages');
    Korval::pdfmod('ON', 'XXXX');
};

subtest 'PDF into memory: pdfbuf' => sub {
    in_tempdir();
    plot('PDF', setup => sub { Korval::pdfmod('ON', 'BUFF') });
    ok(!-e 'korval.pdf', 'no file');
    my $size = Korval::pdfbuf(my $dummy = '', 0);
    ok($size > 500, 'size 0 asks for the size');
    my $small = 'keep';
    is(Korval::pdfbuf($small, $size - 1), 0, 'a buffer one byte short');
    is($small, 'keep', 'leaves the string alone');
    my $doc = '';
    is(Korval::pdfbuf($doc, $size + 100), $size, 'the document size');
    is(length $doc, $size, 'exactly that many bytes');
    like($doc, qr/\A%PDF-1\.3\n.*%%EOF\n\z/s, 'a whole document');
    is(Korval::pdfbuf($doc, $size + 100), 0, 'a second call finds it empty');
    open my $fh, '>:raw', 'mem.pdf' or die;
    print $fh $doc;
    close $fh;
    tool_ok('qpdf --check mem.pdf', 'the buffer is a valid PDF') if have_tool('qpdf');
    Korval::pdfmod('OFF', 'BUFF');
    is(Korval::pdfbuf($doc, 100), 0, 'buffer output off');
    Korval::metafl('SVG');
    is(Korval::pdfbuf($doc, 100), 0, 'not PDF');
    like(slurp('korval.err') // '', qr/^$/, 'the plot itself had no warnings');
};

subtest 'images embedded in PDF' => sub {
    in_tempdir();
    plot('PDF', inside => sub {
        Korval::imgsiz(40, 20);
        Korval::imgbox(100, 100, 800, 400);
        Korval::imgini();
        Korval::wpxrow([(255) x 40], 0, $_, 40) for 0 .. 9;
        Korval::imgfin();
    });
    my $pdf = slurp('korval.pdf');
    like($pdf, qr{/Width 40 /Height 20 /BitsPerComponent 8}, 'the image object');
    like($pdf, qr{/ProcSet \[/PDF /ImageC\]\n/XObject <<\n/Image1 \d+ 0 R}, 'the page names it');
    tool_ok('qpdf --check korval.pdf', 'qpdf --check passes') if have_tool('qpdf');
    if (have_tool('pdfimages')) {
        like(`pdfimages -list korval.pdf`, qr/\s40\s+20\s+rgb\s+3\s+8/, 'pdfimages lists it');
    }
};

subtest 'images embedded in PostScript' => sub {
    in_tempdir();
    plot('POST', inside => sub {
        Korval::imgsiz(8, 4);
        Korval::imgini();
        Korval::wpixel($_, 1, 255) for 0 .. 7;
        Korval::imgfin();
    });
    my $ps = slurp('korval.psc');
    (my $flat = $ps) =~ s/\s+/ /g;
    like($flat, qr{/picstr 24 string def gsave}, 'the picture string of 3 x 8 bytes');
    like($flat, qr{8 4 8 \[8 0 0 -4 0 4\] \{currentfile picstr readhexstring pop\} false 3 colorimage},
         'colorimage');
    if (have_tool('gs')) {
        tool_ok('gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage korval.psc', 'ghostscript runs it');
    }
};

subtest 'the same plot as PNG and as PDF' => sub {
    plan skip_all => 'pdftoppm is missing' unless have_tool('pdftoppm');
    in_tempdir();
    plot('PNG', setup => sub { Korval::setpag('DA4P') });
    plot('PDF');
    my ($w, $h, $bpp, $rows) = png_pixels(slurp('korval.png'));
    is("$w x $h", '603 x 853', 'portrait picture');
    # Pixels per plot unit of the picture and points per plot unit of the
    # PDF; render the PDF at the resolution that makes them equal.
    my ($nx, $ny) = (2099, 2969);
    my $fr = 602 / $nx < 852 / $ny ? 602 / $nx : 852 / $ny;
    my $fp = 3900 / $nx < 5600 / $ny ? 3900 / $nx : 5600 / $ny;
    $fp *= 0.14173229;
    $fp = 0.28346458 if $fp > 0.28346458;
    my $dpi = 72 * $fr / $fp;
    tool_ok(sprintf('pdftoppm -r %.4f -gray korval.pdf page', $dpi), 'pdftoppm renders the page');
    my ($pw, $ph, $ch, $data) = read_pnm('page-1.pgm');
    my $top = (794 - $ny * $fp) * $dpi / 72;    # the page's top edge in the rendering
    my $ink_pdf = sub {
        my ($x, $y) = @_;
        $y = int($y + $top + 0.5);
        return 0 if $x < 0 || $y < 0 || $x >= $pw || $y >= $ph;
        return ord(substr($data, $y * $pw + $x, 1)) < 200;
    };
    my $ink_png = sub {
        my ($x, $y) = @_;
        return 0 if $x < 0 || $y < 0 || $x >= $w || $y >= $h;
        return ord(substr($rows->[$y], $x, 1)) != 0;
    };
    my ($png_ink, $png_hit, $pdf_ink, $pdf_hit) = (0, 0, 0, 0);
    for my $y (3 .. $h - 4) {
        for my $x (3 .. $w - 4) {
            my $a = $ink_png->($x, $y);
            my $b = $ink_pdf->($x, $y);
            next unless $a || $b;
            my $near = sub {
                my ($f) = @_;
                for my $dy (-2 .. 2) { for my $dx (-2 .. 2) { return 1 if $f->($x + $dx, $y + $dy) } }
                return 0;
            };
            if ($a) { $png_ink++; $png_hit++ if $near->($ink_pdf) }
            if ($b) { $pdf_ink++; $pdf_hit++ if $near->($ink_png) }
        }
    }
    ok($png_ink > 2000, "the picture has ink ($png_ink pixels)");
    ok($pdf_ink > 1000, "the rendering has ink ($pdf_ink pixels)");
    cmp_ok($png_hit / $png_ink, '>', 0.97, 'PNG lines lie on PDF lines');
    cmp_ok($pdf_hit / $pdf_ink, '>', 0.97, 'PDF lines lie on PNG lines');
    Korval::setpag('DA4L');
};

subtest 'SVG' => sub {
    in_tempdir();
    plot('SVG');
    my $svg = slurp('korval.svg');
    my @lines = split /\n/, $svg;
    is_deeply([@lines[0 .. 10]], [
        '<?xml version="1.0" encoding="ISO-8859-1" standalone="no"?>',
        '<!DOCTYPE svg PUBLIC "-//W3C//DTD SVG 20010904//EN"',
        '  "http://www.w3.org/TR/2001/REC-SVG-20010904/DTD',
        '/svg10.dtd">',
        '<!-- Created by KORVAL',
        'Version:  8.1',
        'Date   : 14.11.2023 22:13:20',
        '-->',
        '<svg width="853" height="603"',
        '  xmlns="http://www.w3.org/2000/svg"',
        '  xmlns:xlink="http://www.w3.org/1999/xlink">',
    ], 'the header');
    like($svg, qr{<line x1="[\d.]+" y1="[\d.]+" x2="[\d.]+" y2="[\d.]+"/>\n}, 'single segments as line elements');
    like($svg, qr{<polyline points="\n( [\d.]+,[\d.]+){5}\n}, 'polylines with five points a line');
    like($svg, qr{</svg>\n\z}, 'closed');
    unlike($svg, qr/\d,\d+\.\d+,/, 'no locale commas');
    tool_ok('xmllint --noout korval.svg', 'xmllint parses it') if have_tool('xmllint');
    tool_ok('rsvg-convert -o r.png korval.svg', 'rsvg-convert renders it') if have_tool('rsvg-convert');
    my ($out) = run_script(q{use Korval; Korval::metafl('SVG'); Korval::setfil('no/such/dir/x.svg');
        Korval::korini(); Korval::errmod('PROT', 'OFF'); Korval::pagera(); Korval::korfin();});
    like($out, qr{Warning  36: File error in korini!   \(no/such/dir/x\.svg\)}, 'a file error warns 36 with the name');
};

done_testing;
