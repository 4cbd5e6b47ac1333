#!/bin/sh
# Writes every document of one realistic request file as the register lists
# them and, when LibreOffice is installed, turns each into a PDF file, so that
# a person can read them as the clerk will print them.
#
#     scripts/render-request-documents.sh [build folder] [output folder]
#
# The file: a request (per-request numbering, number 12) of two sellers, the
# second through a mandatary; four pre-emption holders with their opening
# acts; one acceptance communication with its list, display report and
# letter; the archaeological-site letter; and the closing with that holder
# (decision, final report, final letter). The data folder is made with
# arvena3-sql and the documents with arvena3-doc, so both must be built
# (cmake --build build --target arvena3-sql arvena3-doc). Not part of the
# tests: LibreOffice is heavy and only needed to look at the pages.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/request-documents}
sql=$build/bin/arvena3-sql
doc=$build/bin/arvena3-doc
for tool in "$sql" "$doc"; do
    if [ ! -x "$tool" ]; then
        echo "$(basename "$tool") not built: cmake --build $build --target arvena3-sql arvena3-doc" >&2
        exit 1
    fi
done

rm -rf "$out"
data=$out/data
mkdir -p "$data" "$out/rtf"

cat > "$data/Arv2.set" <<'SETTINGS'
[CONST]
UNITATE=PRIMARIA COMUNEI VALEA MARE
LOCALIT=VALEA MARE
JUDET=5
PRIMAR=IONESCU PETRE
SECRETAR=MARIN ELENA
SITE=www.primariavaleamare.ro
NumTip=2
ZileEt1=47
ZileEt2=30
SETTINGS

"$sql" --data "$data" - > "$out/tables.log" <<SQL
CREATE TABLE "$data/Cereri.dbf" (ID DECIMAL(10,0), NR DECIMAL(10,0), NR2 DECIMAL(10,0), NRDOSAR CHAR(12), DATAC DATE,
  TIPPF CHAR(8), NRV DECIMAL(6,0), NRPREE DECIMAL(6,0), SUPRAF CHAR(24), COTAPARTE CHAR(10), COTAPARTES CHAR(11),
  FARACONTR CHAR(1), PRET DECIMAL(12,2), NRCAD CHAR(80), NRCARTE CHAR(80), TARLA CHAR(30), NRTARLA CHAR(20),
  NRPARC CHAR(100), CATEG CHAR(240), FUNCTIONAR CHAR(32), STARE DECIMAL(6,0), PV1 CHAR(1), LITIGII CHAR(2),
  GREVAT CHAR(2), CONDITII CHAR(240));
CREATE TABLE "$data/Vanzatori.dbf" (IDV DECIMAL(10,0), ID DECIMAL(10,0), NRCRT DECIMAL(6,0), VANZATOR CHAR(80),
  CNPCUI CHAR(13), LOCV CHAR(32), ADRESA CHAR(120), JUDET CHAR(32), BI CHAR(4), BISERIA CHAR(4), BINR CHAR(10),
  BIELIB CHAR(40), BIDATA DATE, TEL CHAR(14), MANDATAR CHAR(80), MCALITATE CHAR(80), MCONFORM CHAR(80),
  MCNPCUI CHAR(13), MLOCV CHAR(32), MADRESA CHAR(120), MJUDET CHAR(32), MCODPOST CHAR(8), MBI CHAR(4),
  MBISERIA CHAR(4), MBINR CHAR(10), MBIELIB CHAR(40), MBIDATA DATE, MTEL CHAR(14));
CREATE TABLE "$data/Preemptori.dbf" (IDP DECIMAL(10,0), ID DECIMAL(10,0), RANG DECIMAL(10,0), POSTA CHAR(2),
  TIPPF CHAR(8), NUME CHAR(80), ADRESA CHAR(120), CNP CHAR(13), RC CHAR(24), CODPOSTAL CHAR(8), EMAIL CHAR(60),
  TEL CHAR(16));
CREATE TABLE "$data/Comunicari.dbf" (IDC DECIMAL(10,0), ID DECIMAL(10,0), NR DECIMAL(10,0), NR2 DECIMAL(10,0),
  NR2PER DECIMAL(6,0), DATAC DATE, TIPPF CHAR(8), CUMPARATOR CHAR(80), CNPCUI CHAR(13), RANG DECIMAL(6,0),
  LOC CHAR(32), ADRESA CHAR(120), PRET DECIMAL(8,2), DATAAFIS DATE);
CREATE TABLE "$data/AlteActe.dbf" (IDA DECIMAL(10,0), ID DECIMAL(10,0), BLOCAT CHAR(2), NR DECIMAL(10,0),
  NR2 DECIMAL(10,0), NR2PER DECIMAL(6,0), DATAA DATE, DATAEXP DATE, MODUL CHAR(7), EMITENT CHAR(80),
  DESTINATAR CHAR(80), TIPACT CHAR(80), DETALII CHAR(80), IDC DECIMAL(10,0));
INSERT INTO Cereri VALUES (1, 41, 12, 'D-12/2025', '2025-03-03', 'FIZICA', 2, 4, '1.2500', '1/2', '0.6250', 'X',
  48500.50, '50123, 50124', '50123', 'La Vii', '12', '45/1, 45/2', 'arabil', 'POPA ANDREI', 2, 'N', 'NU', 'DA',
  'plata integrala la semnarea contractului, in fata notarului');
INSERT INTO Vanzatori (IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET, BI, BISERIA, BINR, BIELIB, BIDATA, TEL)
  VALUES (1, 1, 1, 'VASILE ANA', '2800101080018', 'Valea Mare', 'Str. Lunga nr. 10', 'BRASOV', 'CI', 'BV', '123456',
  'SPCLEP Codlea', '2020-05-04', '0722000001');
INSERT INTO Vanzatori VALUES (2, 1, 2, 'ROTARU BOGDAN', '1790202080028', 'Ghimbav', 'Str. Garii nr. 3', 'BRASOV',
  'CI', 'BV', '654321', 'SPCLEP Ghimbav', '2019-02-01', '0722000002', 'MANDA ION', 'imputernicit',
  'procura autentificata nr. 120/2025', '1700303080039', 'Codlea', 'Str. Scurta nr. 2', 'BRASOV', '505100', 'CI',
  'BV', '111222', 'SPCLEP Codlea', '2018-07-09', '0722000003');
INSERT INTO Preemptori VALUES (1, 1, 1, 'DA', 'FIZICA', 'STAN GHEORGHE', 'Valea Mare, Str. Campului 1',
  '1650505080011', '', '505200', '', '0733000001');
INSERT INTO Preemptori VALUES (2, 1, 1, 'DA', 'FIZICA', 'DOBRE MARIA', 'Valea Mare, Str. Campului 7', '2700707080022',
  '', '505200', 'maria.dobre@example.ro', '');
INSERT INTO Preemptori VALUES (3, 1, 2, 'NU', 'JURIDICA', 'AGROFERMA VALEA SRL', 'Valea Mare, DN1 km 12', '',
  'J08/123/2010', '505200', 'office@agroferma.example.ro', '0268000001');
INSERT INTO Preemptori VALUES (4, 1, 7, 'DA', 'JURIDICA', 'STATUL ROMAN PRIN ADS', 'Bucuresti, Str. Sibiu 2', '', '',
  '010000', '', '');
INSERT INTO AlteActe VALUES (1, 1, '9', 42, 12, 1, '2025-03-03', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'D.A.J. si A.D.S.', 'LISTA PREEMPTORILOR DUPA OFERTA', 'Cererea 12 - VASILE ANA', 0);
INSERT INTO AlteActe VALUES (2, 1, '14', 43, 12, 2, '2025-03-03', '2025-03-03', 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'STAN GHEORGHE', 'NOTIFICARE PREEMPTOR', 'Cererea 12 - VASILE ANA', 1);
INSERT INTO AlteActe VALUES (3, 1, '14', 44, 12, 3, '2025-03-03', '2025-03-03', 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'DOBRE MARIA', 'NOTIFICARE PREEMPTOR', 'Cererea 12 - VASILE ANA', 2);
INSERT INTO AlteActe VALUES (4, 1, '14', 45, 12, 4, '2025-03-03', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'AGROFERMA VALEA SRL', 'NOTIFICARE PREEMPTOR', 'Cererea 12 - VASILE ANA', 3);
INSERT INTO AlteActe VALUES (5, 1, '14', 46, 12, 5, '2025-03-03', '2025-03-03', 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'STATUL ROMAN PRIN ADS', 'NOTIFICARE PREEMPTOR', 'Cererea 12 - VASILE ANA', 4);
INSERT INTO AlteActe VALUES (6, 1, '1', 47, 12, 6, '2025-03-03', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'D.A.J. si A.D.S.', 'PROCES VERBAL DE AFISARE OFERTA', 'Cererea 12 - VASILE ANA', 0);
INSERT INTO AlteActe VALUES (7, 1, '2', 48, 12, 7, '2025-03-03', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'D.A.J.', 'ADRESA DE INAINTARE OFERTA SI LP', 'Cererea 12 - VASILE ANA', 0);
INSERT INTO AlteActe VALUES (8, 1, '15', 49, 12, 8, '2025-03-03', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'A.D.S.', 'ADRESA DE INAINTARE OFERTA SI LP', 'Cererea 12 - VASILE ANA', 0);
INSERT INTO Comunicari VALUES (1, 1, 50, 12, 9, '2025-03-20', 'FIZICA', 'NEAGU CONSTANTIN', '1750606080019', 2,
  'Ghimbav', 'Str. Noua nr. 7', 49000, '2025-03-21');
INSERT INTO AlteActe VALUES (9, 1, '3', 51, 12, 10, '2025-03-20', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'D.A.J. si A.D.S.', 'LISTA PREEMPTORI', 'Preemptor NEAGU CONSTANTIN la Cererea nr.41 - VASILE ANA', 1);
INSERT INTO AlteActe VALUES (10, 1, '4', 52, 12, 11, '2025-03-20', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'D.A.J. si A.D.S.', 'P.V. AFISARE COMUNICARE', 'Preemptor NEAGU CONSTANTIN la Cererea nr.41 - VASILE ANA', 1);
INSERT INTO AlteActe VALUES (11, 1, '5', 53, 12, 12, '2025-03-20', NULL, 'iesire', 'PRIMARIA COMUNEI VALEA MARE',
  'D.A.J.', 'ADRESA DE INAINTARE COMUNICARE', 'Preemptor NEAGU CONSTANTIN la Cererea nr.41 - VASILE ANA', 1);
INSERT INTO AlteActe VALUES (12, 1, '11', 54, 12, 13, '2025-03-24', '2025-03-24', 'iesire', 'DIN OFICIU',
  'VASILE ANA', 'ADRESA SIT ARHEOLOGIC', 'Cererea 41', 0);
INSERT INTO AlteActe VALUES (13, 1, '12', 55, 12, 14, '2025-05-15', NULL, 'intrare', 'VASILE ANA',
  'PRIMARIA COMUNEI VALEA MARE', 'DECIZIE ALEGERE PREEMPTOR', 'Cererea 12 - VASILE ANA', 1);
INSERT INTO AlteActe VALUES (14, 1, '8', 56, 12, 15, '2025-05-15', NULL, 'iesire', 'DIN OFICIU', 'D.A.J.',
  'P.V.FINALIZARE CU COMUNICARE', 'Cererea 12 - VASILE ANA', 1);
INSERT INTO AlteActe VALUES (15, 1, '13', 57, 12, 16, '2025-05-15', NULL, 'iesire', 'DIN OFICIU', 'D.A.J.',
  'ADRESA FINALIZARE CU COMUNICARE', 'Cererea 12 - VASILE ANA', 1)
SQL

"$doc" --data "$data" --request 1 --out "$out/rtf/00-Cerere_si_oferta.rtf"
"$doc" --data "$data" --answer 1 --out "$out/rtf/09a-Comunicare_de_acceptare.rtf"
for ida in 1 2 6 7 8 9 10 11 12 13 14 15; do
    kind=$("$sql" --data "$data" "SELECT TIPACT FROM AlteActe WHERE IDA=$ida" | tail -n 1 | tr -c 'A-Za-z0-9.\n' '_')
    "$doc" --data "$data" --act "$ida" --out "$out/rtf/$(printf '%02d' "$ida")-$kind.rtf"
done
echo "documents: $out/rtf ($(ls "$out/rtf" | wc -l) files; the notifications are one file with a page each)"

office=$(command -v soffice || command -v libreoffice || true)
if [ -z "$office" ]; then
    echo "LibreOffice is not installed; the RTF documents are left for reading." >&2
    exit 0
fi
mkdir -p "$out/pdf"
# A private profile keeps the run away from the user's own LibreOffice settings.
"$office" -env:UserInstallation="file://$out/profile" --headless --convert-to pdf \
    --outdir "$out/pdf" "$out"/rtf/*.rtf > "$out/libreoffice.log" 2>&1
rm -rf "$out/profile"
made=$(ls "$out/pdf" | wc -l)
if [ "$made" -eq 0 ]; then
    echo "LibreOffice converted nothing (its word processor, libreoffice-writer, may be missing): see $out/libreoffice.log" >&2
    exit 1
fi
echo "PDF files: $out/pdf ($made documents)"
