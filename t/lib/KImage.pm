package KImage;
# Readers for the pictures the tests compare: PNG chunks and pixels (8-bit
# indexed or RGB, filter type 0 as the library writes them), and binary
# PNM (P5, P6).
use strict;
use warnings;
use Exporter 'import';
use Compress::Zlib qw(uncompress crc32);

our @EXPORT_OK = qw(png_chunks png_pixels read_pnm have_tool);

sub have_tool {
    my ($name) = @_;
    return system("command -v $name >/dev/null 2>&1") == 0;
}

# [type, data] per chunk; dies on a bad signature or CRC.
sub png_chunks {
    my ($bytes) = @_;
    die "no PNG signature" unless substr($bytes, 0, 8) eq "\x89PNG\r\n\x1a\n";
    my @chunks;
    my $at = 8;
    while ($at + 12 <= length $bytes) {
        my ($n, $type) = unpack('N a4', substr($bytes, $at, 8));
        my $data = substr($bytes, $at + 8, $n);
        my $crc = unpack('N', substr($bytes, $at + 8 + $n, 4));
        die "bad CRC in $type" unless crc32($type . $data) == $crc;
        push @chunks, [$type, $data];
        $at += 12 + $n;
    }
    return @chunks;
}

# (width, height, bytes per pixel, rows as strings, palette string)
sub png_pixels {
    my ($bytes) = @_;
    my @c = png_chunks($bytes);
    my ($w, $h, $depth, $type) = unpack('N N C C', $c[0][1]);
    my $bpp = $type == 2 ? 3 : 1;
    my ($plte) = map { $_->[1] } grep { $_->[0] eq 'PLTE' } @c;
    my $z = join '', map { $_->[1] } grep { $_->[0] eq 'IDAT' } @c;
    my $raw = uncompress($z);
    die "bad image data" unless defined $raw && length $raw == ($w * $bpp + 1) * $h;
    my @rows;
    for my $y (0 .. $h - 1) {
        my $row = substr($raw, $y * ($w * $bpp + 1), $w * $bpp + 1);
        die "filter type is not 0" unless ord($row) == 0;
        push @rows, substr($row, 1);
    }
    return ($w, $h, $bpp, \@rows, $plte);
}

# (width, height, channels, data)
sub read_pnm {
    my ($file) = @_;
    open my $fh, '<:raw', $file or die "$file: $!";
    local $/;
    my $s = <$fh>;
    $s =~ s/\A(P[56])\s+(\d+)\s+(\d+)\s+(\d+)\s//s or die "$file: not a binary PNM";
    return ($2, $3, $1 eq 'P6' ? 3 : 1, $s);
}

1;
