"""Phrases shared by several documents."""

LAND = ("terenul agricol situat în extravilanul localității [LOCALIT], județul [JUDET], "
        "în suprafață de [SUPRAF] ha, cota-parte [Cotaparte], identificat prin numărul "
        "cadastral [NRCAD], înscris în cartea funciară nr. [NRCARTE], tarlaua [TARLA] "
        "nr. [NRTARLA], parcela [NRPARC], categoria de folosință [CATEG]")

LAND_TABLE_HEAD = ["Suprafața (ha)", "Cota-parte", "Nr. cadastral", "Nr. carte funciară",
                   "Tarla / Parcelă", "Categoria de folosință"]
LAND_WIDTHS = [1250, 1500, 1550, 1550, 1500, 1950]


def land_rows(f):
    return [LAND_TABLE_HEAD,
            [f("[SUPRAF]", 8), f("[Cotaparte]", 8), f("[NRCAD]", 10), f("[NRCARTE]", 10),
             f("[NRTARLA]", 4) + " / " + f("[NRPARC]", 4), f("[CATEG]", 12)]]


REQUEST_REF = "nr. [NRC] din [DATAC]"

RANKS = [
    ("I", "coproprietarii, rudele de gradul I, soții, rudele și afinii până la gradul al "
          "treilea inclusiv"),
    ("II", "proprietarii investițiilor agricole pentru culturile de pomi, viță-de-vie, hamei, "
           "irigații exclusiv private și/sau arendașii"),
    ("III", "proprietarii și/sau arendașii terenurilor agricole vecine cu terenul supus vânzării"),
    ("IV", "tinerii fermieri"),
    ("V", "unitățile de cercetare-dezvoltare din domeniul agriculturii, care au în "
          "proprietate terenuri vecine"),
    ("VI", "persoanele fizice cu domiciliul sau reședința în unitatea administrativ-teritorială "
           "în care este situat terenul"),
    ("VII", "statul român, prin Agenția Domeniilor Statului"),
]

ATTACHMENTS_REQUEST = [
    "copia actului de identitate al vânzătorului și, după caz, al împuternicitului, "
    "cu procura sau actul care dovedește calitatea acestuia;",
    "copia actului de proprietate al terenului (titlu, contract, certificat de moștenitor, "
    "hotărâre judecătorească definitivă);",
    "extrasul de carte funciară pentru informare, eliberat cu cel mult 30 de zile înainte;",
    "certificatul de atestare fiscală privind impozitul pe teren, eliberat de compartimentul "
    "de specialitate al primăriei;",
    "documentația cadastrală a terenului (plan de amplasament și delimitare), după caz;",
    "alte documente pe care vânzătorul le consideră necesare.",
]


def dots(count=30):
    return "." * count
