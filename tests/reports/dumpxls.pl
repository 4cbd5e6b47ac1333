# Prints the first sheet of a workbook as Spreadsheet::ParseExcel reads it:
# one line per row of the used range, cells separated by tabs, each as
# "<kind>:<value>" (Text, Numeric or Date; empty for no cell), a number with
# a format of its own followed by "@" and the format. Exits 1 with the
# parser's error when it cannot read the file.
use strict;
use warnings;
use Spreadsheet::ParseExcel;

my $parser = Spreadsheet::ParseExcel->new();
my $book = $parser->parse($ARGV[0]);
if (!defined $book) {
    print STDERR $parser->error(), "\n";
    exit 1;
}
binmode STDOUT, ':encoding(UTF-8)';
my $sheet = $book->worksheet(0);
print "sheet:", $sheet->get_name(), "\n";
my ($rmin, $rmax) = $sheet->row_range();
my ($cmin, $cmax) = $sheet->col_range();
for my $r (0 .. $rmax) {
    my @line;
    for my $c (0 .. $cmax) {
        my $cell = $sheet->get_cell($r, $c);
        if (!defined $cell) {
            push @line, '';
            next;
        }
        my $text = $cell->type() . ':' . ($cell->type() eq 'Text' ? $cell->value() : $cell->unformatted());
        my $format = $book->{FormatStr}{$cell->get_format()->{FmtIdx}};
        $text .= '@' . $format if $cell->type() ne 'Text' && defined $format && $format ne 'General';
        push @line, $text;
    }
    print join("\t", @line), "\n";
}
