# Hardware fonts from Perl: psfont and messag give real text in PostScript,
# PDF and SVG; the warnings of the wrong formats and unknown names.
use strict;
use warnings;
use Test::More;
use File::Temp qw(tempdir);
use Korval;

my $dir = tempdir(CLEANUP => 1);
chdir $dir or die "chdir: $!";

sub slurp {
    my ($f) = @_;
    open my $fh, '<', $f or return '';
    binmode $fh;
    local $/;
    return <$fh>;
}

sub have { return system("command -v $_[0] >/dev/null 2>&1") == 0 }

# One plot in format $fmt written to $file; $body draws.  PostScript pages
# stay unturned so that ghostscript reads the text line by line; PDF pages
# are turned onto the paper as usual, where the PDF font size (fixed in
# points) matches the layout.
sub plot {
    my ($fmt, $file, $body) = @_;
    unlink $file, 'korval.err';
    Korval::metafl($fmt);
    Korval::setfil($file);
    Korval::pagmod($fmt eq 'PS' ? 'NONE' : 'LAND');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    $body->();
    Korval::korfin();
    return slurp($file);
}

my $text = sub {
    Korval::psfont('Helvetica');
    Korval::height(50);
    Korval::messag('Temperature 25 C', 200, 300);
    Korval::psfont('times-bold');
    Korval::messag('Second line', 200, 500);
};

# PostScript: the re-encoded font and one "c" per character
my $ps = plot('PS', 'h.ps', $text);
like($ps, qr/\(Helvetica\) \(Helvetica-German\) GermanVec\s+ReEncodeSmall/, 'PostScript re-encodes Helvetica');
like($ps, qr/\(Times-Bold-German\)/, 'lower-case name under the table spelling');
is(scalar(() = $ps =~ /-?\d+\s+-?\d+\s+-?\d+\s+-?\d+\s+c\b/g), length('Temperature 25 C') + length('Second line'), 'one character operation each');
SKIP: {
    skip 'gs not installed', 2 unless have('gs');
    my $out = `gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=- h.ps 2>&1`;
    like($out, qr/Temperature 25 C/, 'ghostscript shows the Helvetica text');
    like($out, qr/Second line/, 'and the Times text');
}

# PDF: base-14 fonts, text that pdftotext extracts
my $pdf = plot('PDF', 'h.pdf', $text);
like($pdf, qr{/BaseFont /Helvetica\n}, 'PDF font Helvetica');
like($pdf, qr{/BaseFont /Times-Bold\n}, 'PDF font Times-Bold');
SKIP: {
    skip 'pdftotext not installed', 2 unless have('pdftotext');
    my $out = `pdftotext h.pdf - 2>&1`;
    like($out, qr/Temperature 25 C/, 'pdftotext extracts the text');
    like($out, qr/Second line/, 'in both fonts');
}
# National characters reach the PDF through WinAnsiEncoding
plot('PDF', 'n.pdf', sub {
    Korval::psfont('Helvetica');
    Korval::chacod('ISO1');
    Korval::messag("Gr\xFC\xDFe \xC5ngstr\xF6m Qu\xE9", 200, 300);
});
SKIP: {
    skip 'pdftotext not installed', 1 unless have('pdftotext');
    my $out = `pdftotext -enc Latin1 n.pdf - 2>&1`;
    like($out, qr/Gr\xFC\xDFe \xC5ngstr\xF6m Qu\xE9/, 'umlauts, ring and acute extracted');
}
SKIP: {
    skip 'qpdf not installed', 1 unless have('qpdf');
    is(system('qpdf --check h.pdf >/dev/null 2>&1'), 0, 'qpdf accepts the file');
}

# SVG: one text element per character in the mapped font family
my $svg = plot('SVG', 'h.svg', $text);
like($svg, qr/font-family="Helvetica" font-weight="normal"/, 'SVG Helvetica group');
like($svg, qr/font-family="Times" font-weight="bold"/, 'SVG Times bold group');
is(scalar(() = $svg =~ m{</text>}g), length('Temperature 25 C') + length('Second line'), 'text elements');
SKIP: {
    skip 'xmllint not installed', 1 unless have('xmllint');
    is(system('xmllint --noout h.svg >/dev/null 2>&1'), 0, 'well-formed SVG');
}

# Warnings: raster formats, unknown names, window and X11 fonts
plot('PNG', 'h.png', sub {
    Korval::psfont('Helvetica');
    Korval::winfnt('Arial');
    Korval::x11fnt('fixed', 'STAN');
    Korval::messag('stroked', 100, 100);
});
my $err = slurp('korval.err');
like($err, qr/Warning  49: Fileformat is not PostScript in psfont!/, 'warning 49 for PNG');
like($err, qr/Warning 101: Window fonts cannot be used in winfnt!/, 'winfnt warns');
like($err, qr/Warning 101: X11 fonts cannot be used in x11fnt!/, 'x11fnt warns');
$ps = plot('PS', 'u.ps', sub { Korval::psfont('NoSuchFont'); Korval::messag('x', 100, 100) });
like(slurp('korval.err'), qr/ <<<< Warning: NoSuchFont is not a standard font!\n/, 'unknown font name');
like($ps, qr/\(Times-Roman-German\)/, 'falls back to Times-Roman');

# complx switches back to stroke fonts; hwfont picks by format
$ps = plot('PS', 'b.ps', sub {
    Korval::psfont('Courier');
    Korval::complx();
    Korval::messag('strokes', 100, 100);
});
unlike($ps, qr/-?\d+\s+-?\d+\s+-?\d+\s+-?\d+\s+c\b/, 'complx after psfont strokes the text');
$ps = plot('PS', 'w.ps', sub { Korval::hwfont(); Korval::messag('hw', 100, 100) });
like($ps, qr/\(Times-Roman-German\)/, 'hwfont on PostScript is Times-Roman');
$svg = plot('SVG', 'w.svg', sub { Korval::hwfont(); Korval::messag('hw', 100, 100) });
unlike($svg, qr/<text/, 'hwfont on SVG strokes with complx');

# Usage texts
eval { Korval::psfont() };
like($@, qr/Usage: Korval::psfont\(s\)/, 'psfont usage');
eval { Korval::x11fnt('a') };
like($@, qr/Usage: Korval::x11fnt\(s1, s2\)/, 'x11fnt usage');

done_testing();
