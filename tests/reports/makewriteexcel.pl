# Writes a register template with Spreadsheet::WriteExcel, an independent
# writer: markers in its cells, a title merged over several columns, a date
# format on the date column, borders, a number, a formula and a second sheet.
use strict;
use warnings;
use Spreadsheet::WriteExcel;

my $book = Spreadsheet::WriteExcel->new($ARGV[0]) or die "cannot write $ARGV[0]\n";
my $sheet = $book->add_worksheet('Altul');
my $bold = $book->add_format(bold => 1, align => 'center');
my $cellf = $book->add_format(border => 1);
my $date = $book->add_format(border => 1, num_format => 'dd.mm.yyyy');
$sheet->merge_range('A1:D1', '#unitate', $bold);
$sheet->write_string(1, 0, '  [Perioada] ');
$sheet->write_number(1, 5, 3.25);
$sheet->write_formula(1, 6, '=F2*2');
$sheet->write_string(3, 0, 'Nr.');
$sheet->write_string(3, 1, 'Data');
$sheet->write_string(4, 0, '%nrcrt', $cellf);
$sheet->write_string(4, 1, '#DATAC', $date);
$sheet->write_string(4, 2, ' #pret ', $cellf);
$sheet->write_string(4, 3, '#NUME', $cellf);
$sheet->write_string(4, 4, 'fix', $cellf);
$sheet->write_string(4, 7, '#dbf');
$sheet->write_string(6, 0, 'Sfarsit');
$sheet->set_column(0, 0, 6);
$sheet->set_column(3, 3, 30);
my $second = $book->add_worksheet('Doi');
$second->write_string(0, 0, 'a doua foaie');
$book->close();
