#!/usr/bin/perl
# Sets a manual page of Chinese text for groff 1.22, which breaks lines only at spaces and reads a
# line end as a space: a break point (\:) goes between two Chinese characters (never after an
# opening mark nor before a closing one), two lines of one Chinese sentence are joined without a
# space (\c), and lines are not stretched to the right margin, which text without spaces cannot be.
# Requests and macros, and the NAME section that whatis reads, stay as they are.
use strict;
use warnings;
use open qw(:std :encoding(UTF-8));

my $wide    = qr/[\x{2E80}-\x{303E}\x{3041}-\x{9FFF}\x{F900}-\x{FAFF}\x{FE30}-\x{FE4F}\x{FF00}-\x{FF60}\x{20000}-\x{3FFFD}]/;
my $opening = qr/[\x{FF08}\x{300A}\x{300C}\x{300E}\x{201C}\x{2018}\x{3010}\x{3014}]/;    # （《「『“‘【〔
my $closing = qr/[\x{FF0C}\x{3002}\x{3001}\x{FF1B}\x{FF1A}\x{FF01}\x{FF1F}\x{FF09}\x{300B}\x{300D}\x{300F}\x{201D}\x{2019}\x{3011}\x{3015}\x{2026}]/;    # ，。、；：！？）》」』”’】〕…

my @lines = <>;
my $section = '';
for my $i (0 .. $#lines) {
    my $line = $lines[$i];
    if ($line =~ /^\.TH\s/) {
        $line .= ".ad l\n";
    } elsif ($line =~ /^\.SH\s+"?([^"\n]*)/) {
        $section = $1;
    } elsif ($line !~ /^[.']/ && $section ne 'NAME') {
        $line =~ s/(?<=$wide)(?<!$opening)(?=$wide)(?!$closing)/\\:/g;
        my $next = $i < $#lines ? $lines[$i + 1] : '';
        if ($line =~ /$wide\n\z/ && $next =~ /^$wide/ && $next !~ /^$closing/) {
            my $point = $line =~ /$opening\n\z/ ? '' : '\\:';
            $line =~ s/\n\z/$point\\c\n/;
        }
    }
    print $line;
}
