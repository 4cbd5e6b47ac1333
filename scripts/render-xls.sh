#!/usr/bin/env bash
# Writes both register layouts for a small sample data folder and converts
# them to PDF with LibreOffice, so that a person can look at them. With
# LibreOffice it also saves each template again as LibreOffice writes .xls
# and fills that copy (registru-lo-format<n>.xls): a template from another
# program must be filled just as well.
#
#     scripts/render-xls.sh BUILD_DIR [OUT_DIR]
#
# Needs the build's arvena3-sql and arvena3-xls; without LibreOffice (soffice)
# it stops after writing the .xls files.
set -euo pipefail
build=${1:?usage: render-xls.sh BUILD_DIR [OUT_DIR]}
out=${2:-$build/test-output/reports}
mkdir -p "$out"
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
sql="$build/bin/arvena3-sql"
"$sql" --data "$data" "CREATE TABLE Cereri (ID DECIMAL(10,0), NR DECIMAL(10,0), NR2 DECIMAL(10,0), NRDOSAR CHAR(12),
  DATAC DATE, SUPRAF CHAR(24), PRET DECIMAL(12,2), NRCAD CHAR(80), NRCARTE CHAR(80), TARLA CHAR(30), NRTARLA CHAR(20),
  NRPARC CHAR(100), CATEG CHAR(240), FUNCTIONAR CHAR(32))" >/dev/null
"$sql" --data "$data" "CREATE TABLE Vanzatori (IDV DECIMAL(10,0), ID DECIMAL(10,0), NRCRT DECIMAL(6,0),
  VANZATOR CHAR(80), CNPCUI CHAR(13), LOCV CHAR(32), ADRESA CHAR(120), JUDET CHAR(32))" >/dev/null
"$sql" --data "$data" "CREATE TABLE Comunicari (IDC DECIMAL(10,0), ID DECIMAL(10,0), NR DECIMAL(10,0),
  NR2 DECIMAL(10,0), NR2PER DECIMAL(6,0), DATAC DATE, CUMPARATOR CHAR(80), CNPCUI CHAR(13), RANG DECIMAL(6,0))" >/dev/null
"$sql" --data "$data" "CREATE TABLE AlteActe (IDA DECIMAL(10,0), ID DECIMAL(10,0), NR DECIMAL(10,0),
  NR2 DECIMAL(10,0), NR2PER DECIMAL(6,0), DATAA DATE, DATAEXP DATE, EMITENT CHAR(80), DESTINATAR CHAR(80),
  TIPACT CHAR(80))" >/dev/null
"$sql" --data "$data" "INSERT INTO Cereri VALUES (1, 1, 1, 'D1', '2024-03-04', '1.5', 15000, '50123', '40111',
  'LA VIE', 'T12', 'P3', 'ARABIL', 'ANA POPA');
INSERT INTO Cereri VALUES (2, 2, 2, 'D2', '2024-03-11', '0.75', 0, '50124', '40112', 'DEALUL MARE', 'T4', 'P19',
  'VII', 'ANA POPA');
INSERT INTO Vanzatori VALUES (1, 1, 1, 'POPESCU ION', '1800101010011', 'SAT', 'STR MARE 1', 'ALBA');
INSERT INTO Vanzatori VALUES (2, 1, 2, 'POPESCU ANA', '2800101010012', 'SAT', 'STR MARE 1', 'ALBA');
INSERT INTO Vanzatori VALUES (3, 2, 1, 'VASILE DAN', '1700101010013', 'ORAS', 'STR MICA 2', 'ALBA');
INSERT INTO Comunicari VALUES (1, 1, 3, 1, 1, '2024-03-15', 'VECIN UNU', '1600101010014', 3);
INSERT INTO AlteActe VALUES (1, 1, 4, 1, 2, '2024-03-20', '2024-03-22', 'PRIMARIA', 'DADR', 'TRANSMITERE')" >/dev/null
printf '[CONST]\nUNITATE=PRIMARIA COMUNEI EXEMPLU\nLOCALIT=EXEMPLU\nNumTip=1\n' > "$data/Arv2.set"
for format in 1 2; do
  "$build/bin/arvena3-xls" --data "$data" --format "$format" --from 01.03.2024 --to 31.03.2024 \
    --out "$out/registru-format$format.xls"
done
if command -v soffice >/dev/null; then
  "$build/bin/arvena_makespreadsheets" "$data" "$(dirname "$0")/../resources/spreadsheets/Registru.json" \
    "$(dirname "$0")/../resources/spreadsheets/RegisXXL.json"
  mkdir -p "$data/lo"
  soffice --headless --convert-to 'xls:MS Excel 97' --outdir "$data/lo" "$data/Registru.xls" "$data/RegisXXL.xls" >/dev/null
  "$build/bin/arvena3-xls" --data "$data" --format 1 --from 01.03.2024 --to 31.03.2024 \
    --out "$out/registru-lo-format1.xls" --template "$data/lo/Registru.xls"
  "$build/bin/arvena3-xls" --data "$data" --format 2 --from 01.03.2024 --to 31.03.2024 \
    --out "$out/registru-lo-format2.xls" --template "$data/lo/RegisXXL.xls"
  soffice --headless --convert-to pdf --outdir "$out" "$out"/registru-format1.xls "$out"/registru-format2.xls \
    "$out"/registru-lo-format1.xls "$out"/registru-lo-format2.xls >/dev/null
  echo "PDF files in $out"
else
  echo "LibreOffice (soffice) is not installed: the .xls files are in $out"
fi
