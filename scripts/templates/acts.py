"""The town hall's own papers: minutes, letters, notifications, lists, and the
forms that pre-emption holders and buyers hand in."""

from rtfdoc import Doc, Fill
from common import LAND, LAND_WIDTHS, RANKS, REQUEST_REF, land_rows

D = "." * 30
D2 = "." * 60

DAJ = "DIRECȚIA PENTRU AGRICULTURĂ A JUDEȚULUI [JUDET]"
ADS = "AGENȚIA DOMENIILOR STATULUI"

CLOSING_MINUTES = ("Drept pentru care s-a încheiat prezentul proces-verbal, în trei exemplare, "
                   "dintre care unul se păstrează la dosarul cererii.")


def to(doc, *lines):
    doc.left("Către", before=120, after=0)
    for line in lines:
        doc.left("**" + line + "**", after=0)
    doc.gap()


def minutes(title, *subtitles, annex=None):
    doc = Doc(title)
    if annex:
        doc.annex(annex)
    doc.unit_heading()
    doc.number_date()
    doc.title_block("PROCES-VERBAL", *subtitles)
    return doc


def letter(title):
    doc = Doc(title)
    doc.unit_heading()
    doc.number_date()
    return doc


def letter_end(doc, attachments=None):
    if attachments:
        doc.p("Anexăm:", after=60, keep=True)
        doc.bullets(attachments)
    doc.p("Vă mulțumim pentru colaborare.", before=120)
    doc.signatures()
    doc.drafted_by()
    return doc


# ----------------------------------------------------------- display report
def display_report():
    doc = minutes("Proces-verbal de afișare a ofertei de vânzare",
                  "de afișare a ofertei de vânzare a terenului agricol situat în extravilan")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Subsemnatul/Subsemnata [FUNCTIONAR], funcționar în aparatul de specialitate al "
          "primarului, am procedat la afișarea, la sediul primăriei și pe pagina de internet "
          "a acesteia ([Site]), a ofertei de vânzare depuse de [Vanzator] și înregistrate sub "
          "nr. [NRC] din [DATAC], privind terenul agricol situat în extravilan în suprafață de "
          "[SUPRAF] ha, împreună cu lista preemptorilor nr. [NRLP].")
    doc.p("Oferta de vânzare a fost adusă la cunoștința preemptorilor prin următoarele "
          "notificări:", after=60)
    doc.raw("\\pard\\plain\\qj\\li567\\sa120\\sl276\\slmult1\\f0\\fs24\\lang1048 [Notificare]\\par")
    doc.p("Oferta rămâne afișată pe toată durata termenului legal în care preemptorii își pot "
          "exercita dreptul de preempțiune, iar cererea, oferta, lista preemptorilor și "
          "prezentul proces-verbal se transmit Direcției pentru Agricultură Județene și, "
          "după caz, Agenției Domeniilor Statului.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


# -------------------------------------------------------- forwarding letters
def forward_offer(to_ads):
    doc = letter("Adresă de înaintare a ofertei de vânzare")
    if to_ads:
        to(doc, ADS, "Direcția Teritorială / Reprezentanța județului [JUDET]")
        doc.p("Stimată doamnă/Stimate domnule director,", first=0)
        purpose = ("în vederea exercitării dreptului de preempțiune al statului român, în "
                   "calitate de preemptor de rangul VII, în termenul legal")
    else:
        to(doc, DAJ)
        doc.p("Stimată doamnă/Stimate domnule director executiv,", first=0)
        purpose = ("în vederea afișării ofertei pe pagina de internet a direcției și a "
                   "verificării documentelor, potrivit Legii nr. 17/2014")
    doc.p("Vă înaintăm oferta de vânzare depusă de [Vanzator] și înregistrată la noi sub "
          + REQUEST_REF + ", privind " + LAND + ", la prețul de [PRET] lei, " + purpose + ".")
    doc.p("Oferta a fost afișată la sediul primăriei și pe pagina de internet a acesteia, "
          "potrivit procesului-verbal de afișare nr. [NRPVAFIS] din [DATAPVAFIS]. "
          "Preemptorii au fost notificați prin notificările nr. [NOTIFNRDATA]. Termenul în "
          "care preemptorii își pot manifesta intenția de cumpărare este [INTERVAL1].")
    return letter_end(doc, [
        "cererea de afișare și oferta de vânzare, în copie;",
        "lista preemptorilor;",
        "procesul-verbal de afișare a ofertei;",
        "documentele anexate cererii de afișare, în copie.",
    ])


# ------------------------------------------------------------- notification
def notification():
    doc = Doc("Notificare preemptor")
    doc.unit_heading()
    doc.number_date()
    to(doc, "[NUME]")
    doc.left("CNP/CUI: [CNP]; nr. registrul comerțului: [RC]", after=0)
    doc.left("Adresa: [Adresa], cod poștal [CODPOSTAL]", after=0)
    doc.left("E-mail: [EMAIL]; telefon: [TEL]", after=240)
    doc.title_block("NOTIFICARE", "privind oferta de vânzare a unui teren agricol situat în "
                    "extravilan")
    doc.p("În temeiul Legii nr. 17/2014 privind unele măsuri de reglementare a vânzării "
          "terenurilor agricole situate în extravilan, vă aducem la cunoștință că [Vanzator] "
          "a depus la [PRIMARIA] oferta de vânzare înregistrată sub " + REQUEST_REF
          + ", privind terenul agricol în suprafață de [SUPRAF] ha, cota-parte [Cotaparte], "
          "identificat prin numărul cadastral [NRCAD], înscris în cartea funciară nr. "
          "[NRCARTE], tarlaua [NRTARLA], parcela [NRPARC], categoria de folosință [CATEG], "
          "la prețul de **[PRET] lei**.")
    doc.p("Figurați în lista preemptorilor acestui teren cu **rangul [RANG]** de preferință.")
    doc.p("Dacă doriți să cumpărați terenul, puteți depune la sediul primăriei comunicarea "
          "de acceptare a ofertei de vânzare, însoțită de documentele care dovedesc calitatea "
          "de preemptor, în termenul prevăzut de lege, socotit de la data afișării ofertei. "
          "Oferta poate fi consultată la sediul primăriei și pe pagina de internet a acesteia.")
    doc.p("Prezenta notificare se comunică prin poștă, cu confirmare de primire, sau prin "
          "afișare, potrivit legii.")
    doc.signatures()
    return doc


# ------------------------------------------------- acceptance communication
def acceptance(company, blank):
    f = Fill(blank)
    doc = Doc("Comunicare de acceptare a ofertei de vânzare", align="l" if blank else "j")
    doc.annex("Anexa nr. 5" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare " + f("[NR]", 12) + " din " + f("[DATAA]", 14), after=240)
    doc.center("Către", after=0)
    doc.center(("PRIMĂRIA " + D) if blank else "**[PRIMARIA]**", after=0)
    doc.center("județul " + f("[JUDET]", 24), after=240)
    doc.title_block("COMUNICARE DE ACCEPTARE", "a ofertei de vânzare a terenului agricol "
                    "situat în extravilan")
    if company:
        doc.p("Subscrisa " + f("**[CUMPARATOR]**", 60) + ", cod unic de înregistrare "
              + f("[CNPCUIP]", 16) + ", cu sediul în localitatea " + f("[LOCP]", 30) + ", "
              + f("[AdresaP]", 60) + ", înregistrată la registrul comerțului sub nr. "
              + "." * 20 + ", reprezentată legal prin " + D + " (funcția " + "." * 20 + "),")
    else:
        doc.p("Subsemnatul/Subsemnata " + f("**[CUMPARATOR]**", 60) + ", CNP "
              + f("[CNPCUIP]", 16) + ", născut/născută la data de " + f("[DATANP]", 14)
              + ", cu domiciliul în localitatea " + f("[LOCP]", 30) + ", "
              + f("[AdresaP]", 60) + ", act de identitate " + "." * 6 + " seria "
              + "." * 4 + " nr. " + "." * 10 + ", telefon " + "." * 14 + ",")
    doc.p("în calitate de " + (("preemptor de rangul " + "." * 6) if blank else "[Calitate]")
          + ", accept oferta de vânzare depusă de " + f("[Vanzator]", 60)
          + " și înregistrată sub nr. " + f("[NRC]", 12) + " din " + f("[DATAC]", 14)
          + ", privind terenul agricol situat în extravilanul localității "
          + f("[LOCALIT]", 30) + ", în suprafață de " + f("[SUPRAF]", 10)
          + " ha, identificat prin numărul cadastral " + f("[NRCAD]", 16)
          + ", înscris în cartea funciară nr. " + f("[NRCARTE]", 16) + ".")
    doc.p("Prețul oferit pentru cumpărarea terenului este de **" + f("[PRETP]", 16)
          + " lei** (în litere: " + f("[PretPL]", 50) + ").")
    doc.p("Anexez documentele care dovedesc calitatea de preemptor, actul de identitate în "
          "copie și, după caz, împuternicirea. Declar pe propria răspundere că datele din "
          "prezenta comunicare sunt reale.")
    doc.left("Data: " + f("[DATAA]", 20), before=360, after=0)
    doc.one_signature("Preemptor,", f("[CUMPARATOR]", 40))
    return doc


# -------------------------------------------------------------- purchase offer
def purchase_offer(company, blank):
    f = Fill(blank)
    doc = Doc("Cerere de înregistrare a ofertei de cumpărare", align="l" if blank else "j")
    doc.annex("Anexa nr. 6" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare " + f("[NR]", 12) + " din " + f("[DATAA]", 14), after=240)
    doc.center("Către", after=0)
    doc.center(("PRIMĂRIA " + D) if blank else "**[PRIMARIA]**", after=0)
    doc.center("județul " + f("[JUDET]", 24), after=240)
    doc.title_block("CERERE", "de înregistrare a ofertei de cumpărare a terenului agricol "
                    "situat în extravilan")
    if company:
        doc.p("Subscrisa " + f("**[CUMPARATOR]**", 60) + ", cod unic de înregistrare "
              + f("[CNPCUIP]", 16) + ", cu sediul în localitatea " + f("[LOCP]", 30) + ", "
              + f("[AdresaP]", 60) + ", reprezentată legal prin " + D + " (funcția "
              + "." * 20 + "),")
    else:
        doc.p("Subsemnatul/Subsemnata " + f("**[CUMPARATOR]**", 60) + ", CNP "
              + f("[CNPCUIP]", 16) + ", născut/născută la data de " + f("[DATANP]", 14)
              + ", cu domiciliul în localitatea " + f("[LOCP]", 30) + ", "
              + f("[AdresaP]", 60) + ", act de identitate " + "." * 6 + " seria "
              + "." * 4 + " nr. " + "." * 10 + ", telefon " + "." * 14 + ",")
    doc.p("în calitate de potențial cumpărător, solicit înregistrarea ofertei de "
          "cumpărare pentru terenul agricol situat în extravilanul localității "
          + f("[LOCALIT]", 30) + ", în suprafață de " + f("[SUPRAF]", 10)
          + " ha, identificat prin numărul cadastral " + f("[NRCAD]", 16)
          + ", înscris în cartea funciară nr. " + f("[NRCARTE]", 16)
          + ", oferit spre vânzare de " + f("[Vanzator]", 60) + " prin oferta înregistrată "
          "sub nr. " + f("[NRC]", 12) + " din " + f("[DATAC]", 14) + ".")
    doc.p("Prețul oferit pentru cumpărarea terenului este de **" + f("[PRETP]", 16)
          + " lei** (în litere: " + f("[PretPL]", 50) + ").")
    doc.p("Oferta de cumpărare este depusă în termenul în care terenul poate fi cumpărat de "
          "potențiali cumpărători. Anexez actul de identitate/de înregistrare în copie și, "
          "după caz, împuternicirea.")
    doc.left("Data: " + f("[DATAA]", 20), before=360, after=0)
    doc.one_signature("Potențial cumpărător,", f("[CUMPARATOR]", 40))
    return doc


# ------------------------------------------------------------------- decision
def decision(company, blank):
    f = Fill(blank)
    doc = Doc("Decizie de alegere a preemptorului sau a potențialului cumpărător", align="l" if blank else "j")
    doc.annex("Anexa nr. 7" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare " + f("[NR]", 12) + " din " + f("[DATAA]", 14), after=240)
    doc.center("Către", after=0)
    doc.center(("PRIMĂRIA " + D) if blank else "**[PRIMARIA]**", after=0)
    doc.center("județul " + f("[JUDET]", 24), after=240)
    doc.title_block("DECIZIE", "privind alegerea preemptorului/potențialului cumpărător")
    if blank:
        if company:
            doc.p("Subscrisa " + D2 + ", cod unic de înregistrare " + "." * 16
                  + ", cu sediul în " + D2 + ", reprezentată legal prin " + D
                  + ", în calitate de vânzătoare,")
        else:
            doc.p("Subsemnatul/Subsemnata " + D2 + ", CNP " + "." * 16 + ", cu domiciliul în "
                  + D2 + ", act de identitate " + "." * 6 + " seria " + "." * 4 + " nr. "
                  + "." * 10 + ", în calitate de vânzător,")
    else:
        doc.p(("Subscrisa:" if company else "Subsemnatul/Subsemnații:"), first=0, after=60)
        doc.raw("\\pard\\plain\\qj\\sa120\\sl276\\slmult1\\f0\\fs24\\lang1048 [VanzatoriList]\\par")
    doc.p("având în vedere oferta de vânzare înregistrată sub nr. " + f("[NRC]", 12) + " din "
          + f("[DATAC]", 14) + " privind terenul agricol situat în extravilanul localității "
          + f("[LOCALIT]", 30) + ", în suprafață de " + f("[SUPRAF]", 10) + " ha, cota-parte "
          + f("[Cotaparte]", 10) + ", identificat prin numărul cadastral " + f("[NRCAD]", 16)
          + ", înscris în cartea funciară nr. " + f("[NRCARTE]", 16) + ", precum și "
          "comunicările de acceptare/ofertele de cumpărare înregistrate (în total "
          + f("[NRCOM]", 4) + "),")
    doc.p("**aleg** ca preemptor/potențial cumpărător pe " + f("**[CUMPARATOR]**", 60)
          + ", CNP/CUI " + f("[CNPCUIP]", 16) + ", cu domiciliul/sediul în localitatea "
          + f("[LOCP]", 30) + ", " + f("[AdresaP]", 60) + ", în calitate de "
          + f("[Calitate]", 30) + ", care a acceptat oferta prin comunicarea/oferta nr. "
          + f("[NRP]", 12) + " din " + f("[DATACOM]", 14) + ", la prețul de **"
          + f("[PRETP]", 16) + " lei** (în litere: " + f("[PretPL]", 50) + ").")
    doc.p("Prezenta decizie se depune la primărie pentru a fi transmisă, împreună cu "
          "dosarul ofertei, structurii de specialitate, în vederea finalizării procedurii.")
    doc.left("Data: " + f("[DATAA]", 20), before=360, after=0)
    doc.one_signature("Vânzător/Împuternicit,", f("[Vanzator]", 40))
    return doc


# ------------------------------------------------------ list of pre-emptors
def list_row(n):
    """One row of a rank. The register cuts this row out and repeats it once per
    holder: the cut starts at the "\\qc " of the number cell (so that is the only
    centred paragraph of the row) and ends after "\\ltrrow}\\pard " and the line
    break that follows, so each copy carries its own cell and row properties."""
    widths = [800, 4000, 4554]
    border = "\\brdrs\\brdrw10"
    defs = "\\trowd\\trgaph70\\trleft0\\trqc"
    right = 0
    for w in widths:
        right += w
        defs += "\\clbrdrt%s\\clbrdrl%s\\clbrdrb%s\\clbrdrr%s\\cellx%d" % (
            border, border, border, border, right)
    k = str(n)
    return (defs + "\\pard\\plain\\qc \\intbl\\f0\\fs20\\lang1048 1.\\cell"
            "\\pard\\plain\\intbl\\ql\\f0\\fs20\\lang1048 [Pree" + k + "]\\cell"
            "\\pard\\plain\\intbl\\ql\\f0\\fs20\\lang1048 [Adresa" + k + "]\\cell"
            "{" + defs + "\\row\\ltrrow}\\pard ")


def rank_row(n, roman, text):
    border = "\\brdrs\\brdrw10"
    defs = ("\\trowd\\trgaph70\\trleft0\\trqc\\clbrdrt%s\\clbrdrl%s\\clbrdrb%s\\clbrdrr%s"
            "\\cellx9354" % (border, border, border, border))
    from rtfdoc import inline
    return (defs + "\\pard\\plain\\intbl\\qj\\f0\\fs20\\lang1048\\b "
            + inline("( [p%d] ) Rangul %s – %s" % (n, roman, text)) + "\\cell\\row")


def preemptors_list():
    doc = Doc("Lista preemptorilor", size=22)
    doc.annex("Anexa nr. 3")
    doc.unit_heading()
    doc.number_date()
    doc.title_block("LISTA PREEMPTORILOR",
                    "pentru oferta de vânzare înregistrată sub nr. [NRC] din [DATAC]")
    doc.p("Vânzător: [Vanzator]. Terenul ofertat: " + LAND + ", la prețul de [PRET] lei.")
    doc.p("Preemptorii sunt înscriși pe ranguri de preferință; rangurile la care există "
          "preemptori sunt bifate cu X.", after=120)
    doc.table([800, 4000, 4554], [["Nr. crt.", "Numele și prenumele / denumirea",
                                   "Domiciliul / sediul"]], size=20)
    doc.lines.pop()  # the rows below continue the same table
    for n, (roman, text) in enumerate(RANKS, start=1):
        doc.raw(rank_row(n, roman, text))
        doc.raw(list_row(n))
    doc.raw("\\pard\\plain\\ql\\sa0\\f0\\fs24\\lang1048 \\par")
    doc.p("Lista a fost întocmită pe baza datelor din cererea de afișare și a documentelor "
          "depuse și se afișează împreună cu oferta de vânzare.", before=120)
    doc.signatures()
    doc.drafted_by()
    return doc


# ------------------------------------------ acceptance: display and forwarding
def communication_report():
    doc = minutes("Proces-verbal de afișare a comunicării de acceptare",
                  "de afișare a comunicării de acceptare a ofertei de vânzare")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Subsemnatul/Subsemnata [FUNCTIONAR], funcționar în aparatul de specialitate al "
          "primarului, constat că, pentru oferta de vânzare depusă de [Vanzator] și "
          "înregistrată sub " + REQUEST_REF + ", privind terenul agricol situat în extravilan "
          "în suprafață de [SUPRAF] ha, identificat prin numărul cadastral [NRCAD], a fost "
          "înregistrată comunicarea de acceptare nr. [NRCOMUNICARE] din [DATACOM] a "
          "preemptorului [CUMPARATOR], în calitate de [Calitate], care oferă prețul de "
          "[PRETP] lei (în litere: [PretPL]).")
    doc.p("Comunicarea a fost primită în termenul [INTERVAL1], care expiră la [DATASCAD1]. "
          "Până la această dată au fost înregistrate [NRCOMUNICARI] comunicări de acceptare.")
    doc.p("Am afișat comunicarea de acceptare la sediul primăriei și pe pagina de internet a "
          "acesteia, împreună cu lista actualizată a preemptorilor nr. [NRLP], și o transmitem "
          "Direcției pentru Agricultură Județene.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


def communication_letter():
    doc = letter("Adresă de înaintare a comunicării de acceptare")
    to(doc, DAJ)
    doc.p("Stimată doamnă/Stimate domnule director executiv,", first=0)
    doc.p("Vă înaintăm comunicarea de acceptare nr. [NRP] din [DATACOM], depusă de "
          "[CUMPARATOR], în calitate de [Calitate], care oferă prețul de [PRETP] lei, pentru "
          "oferta de vânzare depusă de [Vanzator] și înregistrată sub " + REQUEST_REF
          + ", privind " + LAND + ".")
    doc.p("Comunicarea a fost afișată la sediul primăriei și pe pagina de internet a "
          "acesteia. Termenul pentru comunicările de acceptare este [INTERVAL1].")
    return letter_end(doc, [
        "comunicarea de acceptare și documentele care o însoțesc, în copie;",
        "lista actualizată a preemptorilor;",
        "procesul-verbal de afișare a comunicării de acceptare.",
    ])


# -------------------------------------------------------- archaeological site
SITE_TEXT = ("Potrivit evidențelor de specialitate, terenul se află într-o zonă în care au "
             "fost identificate situri arheologice sau care face obiectul unei protecții "
             "arheologice. În acest caz, vânzarea terenului se poate face numai cu avizul "
             "specific al Ministerului Culturii, emis prin serviciile sale deconcentrate "
             "(Direcția Județeană pentru Cultură [JUDET]).")


def site_letter(kind):
    doc = letter("Adresă privind situl arheologic")
    if kind == "one":
        to(doc, "[DL] [VANZATOR]")
        doc.left("cu domiciliul în localitatea [LOCV], [Adresa], județul/sectorul [JUDETV]",
                 after=240)
        addressee = "[Dlui] [Vanzator]"
    elif kind == "several":
        to(doc, "[VanzatorLocV]")
        doc.gap()
        addressee = "[Numit] [Vanzator]"
    else:
        to(doc, "[VANZATOR]")
        doc.left("cod unic de înregistrare [CNPCUI], cu sediul în localitatea [LOCV], "
                 "[Adresa], județul/sectorul [JUDETV]", after=240)
        addressee = "societății [Vanzator]"
    if kind == "several":
        doc.p("Referitor la oferta de vânzare depusă de " + addressee + " și înregistrată la "
              "[PRIMARIA] sub " + REQUEST_REF + ", privind " + LAND + ", vă aducem la "
              "cunoștință următoarele:")
    else:
        doc.p("Referitor la oferta de vânzare înregistrată la [PRIMARIA] sub " + REQUEST_REF
              + ", privind " + LAND + ", aducem la cunoștința " + addressee
              + " următoarele:")
    doc.p(SITE_TEXT)
    doc.p("Vă rugăm să solicitați avizul specific și să îl depuneți la sediul primăriei, "
          "pentru a fi atașat la dosarul ofertei. Fără acest aviz procedura de vânzare nu "
          "poate fi finalizată.")
    doc.signatures()
    doc.drafted_by()
    return doc


# --------------------------------------------------------------- cancellation
def cancel_report():
    doc = minutes("Proces-verbal de anulare a procedurii",
                  "privind anularea procedurii de vânzare a terenului agricol situat în "
                  "extravilan",
                  annex="Anexa nr. 12")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Având în vedere cererea vânzătorului [Vanzator] de retragere a ofertei de vânzare "
          "înregistrate sub " + REQUEST_REF + ", privind " + LAND + ", la prețul de [PRET] "
          "lei,")
    doc.p("constatăm că procedura de afișare și de vânzare a terenului se **anulează**, "
          "oferta se retrage de la afișare de la sediul primăriei și de pe pagina de internet "
          "a acesteia, iar comunicările de acceptare sau ofertele de cumpărare înregistrate "
          "([NRCOMUNICARI]) rămân fără obiect.")
    doc.p("Prezentul proces-verbal se comunică Direcției pentru Agricultură Județene și "
          "Agenției Domeniilor Statului.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


def cancel_letter():
    doc = letter("Adresă privind anularea procedurii")
    to(doc, DAJ, ADS)
    doc.p("Stimată doamnă/Stimate domnule director,", first=0)
    doc.p("Vă comunicăm că procedura privind oferta de vânzare depusă de [Vanzator] și "
          "înregistrată sub " + REQUEST_REF + ", pentru " + LAND + ", a fost anulată la "
          "cererea vânzătorului, potrivit procesului-verbal nr. [NRLP] din [DATAA].")
    doc.p("Vă rugăm să retrageți oferta de pe pagina de internet a instituției dumneavoastră "
          "și să considerați închis dosarul acestei oferte.")
    return letter_end(doc, ["procesul-verbal de anulare a procedurii, în copie;",
                            "cererea de retragere a ofertei, în copie."])


# -------------------------------------------------------------- end of stage I
def stage_one_closed():
    doc = minutes("Proces-verbal de încheiere a etapei I fără comunicare",
                  "de încheiere a etapei de exercitare a dreptului de preempțiune",
                  "fără comunicări de acceptare",
                  annex="Anexa nr. 11")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Pentru oferta de vânzare depusă de [Vanzator] și înregistrată sub " + REQUEST_REF
          + ", privind " + LAND + ", la prețul de [PRET] lei, afișată potrivit "
          "procesului-verbal nr. [NRPVAFIS] din [DATAPVAFIS], constatăm că în termenul "
          "[INTERVAL1], încheiat la [DATASCAD1], niciun preemptor nu și-a manifestat în scris "
          "intenția de cumpărare.")
    doc.p("În consecință, oferta de vânzare rămâne afișată pentru potențialii cumpărători, "
          "care pot depune oferte de cumpărare în intervalul [INTERVAL2], până la data de "
          "[DATASCAD2] inclusiv.")
    doc.p("Prezentul proces-verbal se comunică Direcției pentru Agricultură Județene.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


# ------------------------------------------------ closing with a pre-emptor
def closed_with_holder():
    doc = minutes("Proces-verbal de finalizare a procedurii cu comunicare",
                  "de finalizare a procedurii cu alegerea preemptorului")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Pentru oferta de vânzare depusă de [Vanzator] și înregistrată sub " + REQUEST_REF
          + ", privind " + LAND + ", la prețul de [PRET] lei, în termenul [INTERVAL1] au fost "
          "înregistrate [NRCOMUNICARI] comunicări de acceptare.")
    doc.p("Prin decizia depusă la primărie, vânzătorul a ales ca preemptor pe "
          "**[CUMPARATOR]**, CNP/CUI [CNPCUIP], cu domiciliul/sediul în localitatea [LOCP], "
          "[AdresaP], în calitate de [Calitate], care a acceptat oferta prin comunicarea nr. "
          "[NRP] din [DATACOM], la prețul de [PRETP] lei (în litere: [PretPL]).")
    doc.p("Procedura de exercitare a dreptului de preempțiune se încheie, iar dosarul se "
          "transmite Direcției pentru Agricultură Județene pentru continuarea procedurii "
          "potrivit legii.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


def closed_with_holder_letter():
    doc = letter("Adresă de finalizare a procedurii cu comunicare")
    to(doc, DAJ)
    doc.p("Stimată doamnă/Stimate domnule director executiv,", first=0)
    doc.p("Vă transmitem dosarul ofertei de vânzare depuse de [Vanzator] și înregistrate sub "
          + REQUEST_REF + ", privind " + LAND + ", pentru care procedura s-a finalizat cu "
          "alegerea preemptorului [CUMPARATOR], în calitate de [Calitate], la prețul de "
          "[PRETP] lei (în litere: [PretPL]), potrivit procesului-verbal nr. [NRLP] din "
          "[DATAA].")
    return letter_end(doc, [
        "procesul-verbal de finalizare a procedurii, în copie;",
        "decizia vânzătorului privind alegerea preemptorului, în copie;",
        "comunicările de acceptare înregistrate, în copie.",
    ])


# ---------------------------------------------- closing without any answer
def closed_without():
    doc = minutes("Proces-verbal de finalizare a procedurii fără comunicare",
                  "de finalizare a procedurii fără comunicări de acceptare",
                  "și fără oferte de cumpărare",
                  annex="Anexa nr. 13")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Pentru oferta de vânzare depusă de [Vanzator] și înregistrată sub " + REQUEST_REF
          + ", privind " + LAND + ", la prețul de [PRET] lei, afișată potrivit "
          "procesului-verbal nr. [NRPVAFIS] din [DATAPVAFIS], constatăm că:")
    doc.bullets([
        "în termenul [INTERVAL1] niciun preemptor nu și-a manifestat intenția de cumpărare;",
        "în intervalul [INTERVAL2], încheiat la [DATASCAD2], nu a fost înregistrată nicio "
        "ofertă de cumpărare din partea potențialilor cumpărători.",
    ])
    doc.p("Procedura de afișare se încheie fără comunicări de acceptare. Vânzarea terenului "
          "se poate face în condițiile prevăzute de lege pentru această situație, iar "
          "prezentul proces-verbal se eliberează vânzătorului și se comunică Direcției "
          "pentru Agricultură Județene.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


def closed_without_letter():
    doc = letter("Adresă de finalizare a procedurii fără comunicare")
    to(doc, DAJ)
    doc.p("Stimată doamnă/Stimate domnule director executiv,", first=0)
    doc.p("Vă comunicăm că procedura privind oferta de vânzare depusă de [Vanzator] și "
          "înregistrată sub " + REQUEST_REF + ", pentru " + LAND + ", s-a încheiat fără "
          "comunicări de acceptare și fără oferte de cumpărare, potrivit procesului-verbal "
          "nr. [NRLP] din [DATAA]. Termenele au expirat la [DATASCAD1], respectiv [DATASCAD2].")
    return letter_end(doc, ["procesul-verbal de finalizare a procedurii, în copie."])


# -------------------------------------------------------- purchase offers
def offer_report():
    doc = minutes("Proces-verbal de afișare a ofertei de cumpărare",
                  "de afișare a ofertei de cumpărare depuse de un potențial cumpărător")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Subsemnatul/Subsemnata [FUNCTIONAR], funcționar în aparatul de specialitate al "
          "primarului, constat că, pentru oferta de vânzare depusă de [Vanzator] și "
          "înregistrată sub " + REQUEST_REF + ", privind terenul agricol situat în extravilan "
          "în suprafață de [SUPRAF] ha, identificat prin numărul cadastral [NRCAD], a fost "
          "înregistrată oferta de cumpărare nr. [NRP] din [DATACOM] a potențialului "
          "cumpărător **[CUMPARATOR]**, CNP/CUI [CNPCUIP], cu domiciliul/sediul în "
          "localitatea [LOCP], [AdresaP], care oferă prețul de [PRETP] lei (în litere: "
          "[PretPL]).")
    doc.p("Oferta de cumpărare a fost depusă în intervalul [INTERVAL2], care se încheie la "
          "[DATASCAD2]. Până la această dată au fost înregistrate [NRCOMUNICARI] oferte de "
          "cumpărare.")
    doc.p("Am afișat oferta de cumpărare la sediul primăriei și pe pagina de internet a "
          "acesteia și o transmitem Direcției pentru Agricultură Județene.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


def offer_letter():
    doc = letter("Adresă de înaintare a ofertei de cumpărare")
    to(doc, DAJ)
    doc.p("Stimată doamnă/Stimate domnule director executiv,", first=0)
    doc.p("Vă înaintăm oferta de cumpărare nr. [NRP] din [DATACOM], depusă de potențialul "
          "cumpărător [CUMPARATOR], care oferă prețul de [PRETP] lei, pentru oferta de "
          "vânzare depusă de [Vanzator] și înregistrată sub " + REQUEST_REF + ", privind "
          + LAND + ".")
    doc.p("Oferta de cumpărare a fost afișată la sediul primăriei și pe pagina de internet a "
          "acesteia. Intervalul pentru ofertele de cumpărare este [INTERVAL2].")
    return letter_end(doc, [
        "oferta de cumpărare și documentele care o însoțesc, în copie;",
        "procesul-verbal de afișare a ofertei de cumpărare.",
    ])


def closed_with_buyer():
    doc = minutes("Proces-verbal de finalizare a procedurii cu potențial cumpărător",
                  "de finalizare a procedurii cu alegerea potențialului cumpărător")
    doc.p("Încheiat astăzi, [DATAA], ora [ORA], la sediul primăriei, în localitatea [LOCALIT].")
    doc.p("Pentru oferta de vânzare depusă de [Vanzator] și înregistrată sub " + REQUEST_REF
          + ", privind " + LAND + ", la prețul de [PRET] lei, niciun preemptor nu și-a "
          "manifestat intenția de cumpărare în termenul [INTERVAL1], iar în intervalul "
          "[INTERVAL2] au fost înregistrate [NRCOMUNICARI] oferte de cumpărare.")
    doc.p("Prin decizia depusă la primărie, vânzătorul a ales ca potențial cumpărător pe "
          "**[CUMPARATOR]**, CNP/CUI [CNPCUIP], cu domiciliul/sediul în localitatea [LOCP], "
          "[AdresaP], care a depus oferta de cumpărare nr. [NRP] din [DATACOM], la prețul de "
          "[PRETP] lei (în litere: [PretPL]).")
    doc.p("Procedura se încheie, iar dosarul se transmite Direcției pentru Agricultură "
          "Județene pentru continuarea procedurii potrivit legii.")
    doc.p(CLOSING_MINUTES)
    doc.signatures()
    doc.drafted_by()
    return doc


def closed_with_buyer_letter():
    doc = letter("Adresă de finalizare a procedurii cu potențial cumpărător")
    to(doc, DAJ)
    doc.p("Stimată doamnă/Stimate domnule director executiv,", first=0)
    doc.p("Vă transmitem dosarul ofertei de vânzare depuse de [Vanzator] și înregistrate sub "
          + REQUEST_REF + ", privind " + LAND + ", pentru care procedura s-a finalizat cu "
          "alegerea potențialului cumpărător [CUMPARATOR], la prețul de [PRETP] lei (în litere: "
          "[PretPL]), potrivit procesului-verbal nr. [NRLP] din [DATAA].")
    return letter_end(doc, [
        "procesul-verbal de finalizare a procedurii, în copie;",
        "decizia vânzătorului privind alegerea potențialului cumpărător, în copie;",
        "ofertele de cumpărare înregistrate, în copie.",
    ])


# --------------------------------------------------------- expired terms
def expired_report():
    doc = Doc("Raport privind termenele expirate")
    doc.title_block("RAPORT", "privind cererile de afișare a ofertei de vânzare",
                    "cu termen expirat", before=0)
    doc.left("Data raportului: [Data]", after=240)
    doc.p("Cererile aflate în curs al căror termen de așteptare a expirat:", first=0)
    # One line per file: the engine repeats this line for every value it is given.
    doc.raw("\\pard\\plain\\ql\\fi-284\\li567\\sa60\\tx567\\f0\\fs24\\lang1048 \\bullet\\tab [Dosar]\\par")
    doc.p("Pentru fiecare dosar enumerat se întocmesc actele de încheiere a etapei sau de "
          "finalizare a procedurii.", before=240, first=0)
    return doc
