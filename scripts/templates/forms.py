"""The seller's papers: request to display the offer, offer of sale, request for
the defence ministry's approval, withdrawal request, and the combined
request-and-offer documents filled from the register."""

from rtfdoc import Doc, Fill
from common import ATTACHMENTS_REQUEST, LAND_WIDTHS, land_rows

D = "." * 30
D2 = "." * 60


# ---------------------------------------------------------------- applicants
def person_block(lead="Subsemnatul/Subsemnata"):
    return (lead + " " + D2 + ", CNP " + "." * 20 + ", născut/născută la data de "
            + "." * 14 + " în localitatea " + D + ", județul " + "." * 20
            + ", cetățenia " + "." * 16 + ", posesor/posesoare al/a actului de identitate "
            + "." * 6 + " seria " + "." * 4 + " nr. " + "." * 10 + ", eliberat de "
            + D + " la data de " + "." * 12 + ", cu domiciliul în localitatea " + D
            + ", str. " + D + " nr. " + "." * 5 + ", bl. " + "." * 4 + ", sc. " + "." * 3
            + ", ap. " + "." * 4 + ", județul/sectorul " + "." * 20 + ", cod poștal "
            + "." * 8 + ", telefon " + "." * 14 + ", e-mail " + "." * 24 + ",")


PROXY_BLOCK = ("prin " + D + ", CNP/CUI " + "." * 20 + ", cu domiciliul/sediul în " + D2
               + ", în calitate de împuternicit, conform " + D + ",")

COMPANY_BLOCK = ("Subscrisa " + D2 + ", cu sediul în localitatea " + D + ", str. " + D
                 + " nr. " + "." * 5 + ", județul/sectorul " + "." * 20 + ", cod poștal "
                 + "." * 8 + ", înregistrată la registrul comerțului/registrul asociațiilor "
                 "și fundațiilor sub nr. " + "." * 20 + ", cod unic de înregistrare/cod fiscal "
                 + "." * 16 + ", telefon " + "." * 14 + ", fax " + "." * 12 + ", e-mail "
                 + "." * 24 + ", reprezentată legal prin " + D + ", CNP " + "." * 20
                 + ", în calitate de " + D + ", conform " + D + ",")


def signature_slot(doc, caption="Vânzător/Împuternicit", before=240):
    doc.left("**" + caption + ",**", before=before, after=0)
    doc.left("Numele și prenumele: " + D2, after=0)
    doc.left("Semnătura: " + D, after=60)


def date_line(doc):
    doc.left("Data: " + "." * 20, before=360, after=0)


# ------------------------------------------------------ request (Anexa 1)
def request_blank(company=False, several=False):
    doc = Doc("Cerere pentru afișarea ofertei de vânzare", size=22, align="l")
    doc.annex("Anexa nr. 1" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare " + "." * 12 + " din " + "." * 14, after=0)
    doc.left("Dosar nr. " + "." * 12, after=240)
    doc.center("Către", after=0)
    doc.center("PRIMĂRIA " + D, after=0)
    doc.center("județul " + "." * 24, after=240)
    doc.title_block("CERERE", "pentru afișarea ofertei de vânzare a terenului agricol "
                    "situat în extravilan")
    if company:
        doc.p(COMPANY_BLOCK)
    else:
        doc.p(person_block())
        doc.p(PROXY_BLOCK)
        if several:
            doc.p("și")
            doc.p(person_block())
            doc.raw("[1]")
    doc.p("în calitate de vânzător" + ("/vânzători" if several else "")
          + ", în temeiul Legii nr. 17/2014 privind unele măsuri de reglementare a vânzării "
          "terenurilor agricole situate în extravilan, cu modificările și completările "
          "ulterioare, solicit" + ("/solicităm" if several else "")
          + " afișarea, la sediul primăriei și pe pagina de internet a acesteia, a ofertei de "
          "vânzare anexate, pentru terenul agricol situat în extravilan în suprafață de "
          + "." * 12 + " ha, identificat prin numărul cadastral " + "." * 16
          + ", înscris în cartea funciară nr. " + "." * 16 + " a localității " + D + ".")
    doc.p("Declar" + ("/Declarăm" if several else "") + " pe propria răspundere, cunoscând "
          "prevederile Codului penal privind falsul în declarații, că datele din prezenta "
          "cerere și din documentele anexate sunt conforme cu realitatea.")
    doc.p("Anexez" + ("/Anexăm" if several else "") + " următoarele documente:", after=60)
    doc.bullets(ATTACHMENTS_REQUEST)
    date_line(doc)
    signature_slot(doc)
    if several:
        signature_slot(doc)
        doc.raw("[2]")
    return doc


# --------------------------------------------------------- offer (Anexa 2)
def offer_blank(company=False, several=False):
    doc = Doc("Ofertă de vânzare teren", size=22, align="l")
    doc.annex("Anexa nr. 2" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare " + "." * 12 + " din " + "." * 14, after=240)
    doc.title_block("OFERTĂ DE VÂNZARE TEREN", "situat în extravilan")
    if company:
        doc.p(COMPANY_BLOCK)
    else:
        doc.p(person_block())
        doc.p(PROXY_BLOCK)
        if several:
            doc.p("și")
            doc.p(person_block())
            doc.raw("[1]")
    doc.p("vând" + ("/vindem" if several else "") + " teren agricol situat în extravilan, "
          "în suprafață de " + "." * 12 + " ha, cota-parte " + "." * 10 + ", la prețul de "
          + "." * 16 + " lei (în litere " + D + " lei).")
    doc.p("Date de identificare a terenului:", after=60, keep=True)
    blank = Fill(True)
    doc.table(LAND_WIDTHS, land_rows(blank))
    doc.p("Condițiile de vânzare sunt următoarele: " + D2 + D2 + ".")
    doc.p("Terenul face obiectul unor litigii: DA ( ) NU ( ). Terenul este grevat de "
          "sarcini: DA ( ) NU ( ). Terenul este arendat: DA ( ) NU ( ).")
    doc.p("Cunoscând că falsul în declarații se pedepsește potrivit legii penale, declar"
          + ("/declarăm" if several else "") + " că datele din prezenta ofertă sunt "
          "complete și corecte și că terenul nu face obiectul altei oferte de vânzare afișate.")
    date_line(doc)
    signature_slot(doc)
    if several:
        signature_slot(doc)
        doc.raw("[2]")
    return doc


# ----------------------------------------- approval of the defence ministry
def defence_blank(company=False, several=False):
    doc = Doc("Cerere pentru avizul Ministerului Apărării Naționale", size=22, align="l")
    doc.annex("Cerere aviz M.A.N." + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare " + "." * 12 + " din " + "." * 14, after=240)
    doc.center("Către", after=0)
    doc.center("MINISTERUL APĂRĂRII NAȚIONALE", after=0)
    doc.center("prin structura teritorială " + D, after=240)
    doc.title_block("CERERE", "pentru eliberarea avizului specific privind vânzarea unui "
                    "teren agricol situat în extravilan")
    if company:
        doc.p(COMPANY_BLOCK)
    else:
        doc.p(person_block())
        doc.p(PROXY_BLOCK)
        if several:
            doc.p("și")
            doc.p(person_block())
            doc.raw("[1]")
    doc.p("în calitate de vânzător" + ("/vânzători" if several else "") + ", solicit"
          + ("/solicităm" if several else "") + " eliberarea avizului specific necesar "
          "vânzării terenului agricol situat în extravilanul localității " + D + ", județul "
          + "." * 20 + ", în suprafață de " + "." * 12 + " ha, identificat prin numărul "
          "cadastral " + "." * 16 + ", înscris în cartea funciară nr. " + "." * 16
          + ", tarla " + "." * 6 + ", parcela " + "." * 6 + ", teren aflat în zona "
          "prevăzută de lege pentru care vânzarea se face numai cu acest aviz.")
    doc.p("Oferta de vânzare a fost înregistrată la Primăria " + D + " sub nr. "
          + "." * 12 + " din " + "." * 14 + ".")
    doc.p("Anexez" + ("/Anexăm" if several else "") + ":", after=60)
    doc.bullets([
        "copia ofertei de vânzare și a cererii de afișare înregistrate la primărie;",
        "copia actului de identitate/actului de înregistrare a vânzătorului;",
        "extrasul de carte funciară pentru informare și planul de amplasament al terenului;",
        "copia actului de proprietate.",
    ])
    date_line(doc)
    signature_slot(doc, "Solicitant")
    if several:
        signature_slot(doc, "Solicitant")
        doc.raw("[2]")
    return doc


def fragment(kind):
    """An extra applicant (1) or an extra signature (2) for the forms with several
    applicants; held on one line so it reads the same once its lines are joined."""
    doc = Doc("fragment", size=22, align="l")
    if kind == 1:
        doc.p("și")
        doc.p(person_block())
    else:
        caption = "Solicitant" if kind == 3 else "Vânzător/Împuternicit"
        signature_slot(doc, caption)
    return "".join(doc.lines) + "\n"


# ---------------------------------------------------- withdrawal of the offer
def withdrawal(blank):
    f = Fill(blank)
    doc = Doc("Cerere de retragere a ofertei de vânzare", align="l" if blank else "j")
    doc.left("Nr. înregistrare " + f("[NR]", 12) + " din " + f("[DATAA]", 14), after=240)
    doc.center("Către", after=0)
    doc.center(("PRIMĂRIA " + "." * 30) if blank else "[PRIMARIA]", after=0)
    doc.center("județul " + f("[JUDET]", 24), after=240)
    doc.title_block("CERERE", "de retragere a ofertei de vânzare și de anulare a procedurii")
    if blank:
        doc.p(person_block())
        doc.p(PROXY_BLOCK)
    else:
        doc.p("Subsemnatul/Subsemnații:", first=0, after=60)
        doc.raw("\\pard\\plain\\qj\\sa120\\sl276\\slmult1\\f0\\fs24\\lang1048 [VanzatoriList]\\par")
    if blank:
        what = ("terenul agricol situat în extravilan în suprafață de " + "." * 12
                + " ha, identificat prin numărul cadastral " + "." * 16
                + ", înscris în cartea funciară nr. " + "." * 16)
        reg = "nr. " + "." * 12 + " din " + "." * 14
    else:
        what = ("terenul agricol situat în extravilanul localității [LOCALIT], în suprafață "
                "de [SUPRAF] ha, cota-parte [Cotaparte], identificat prin numărul cadastral "
                "[NRCAD], înscris în cartea funciară nr. [NRCARTE]")
        reg = "nr. [NRC] din [DATAC]"
    doc.p(("în calitate de vânzător, v" if blank else "V") + "ă rog să aprobați retragerea ofertei de vânzare "
          "înregistrate sub " + reg + ", privind " + what + ", și anularea procedurii "
          "de afișare începute în temeiul Legii nr. 17/2014.")
    doc.p("Motivul retragerii: " + "." * 80 + ".")
    doc.p("Am luat la cunoștință că, după retragere, vânzarea terenului se poate face numai "
          "cu reluarea procedurii, prin depunerea unei noi cereri de afișare a ofertei.")
    doc.left("Data: " + f("[DATAA]", 20), before=360, after=0)
    doc.left("**Vânzător/Împuternicit,**", before=240, after=0)
    doc.left(("Numele și prenumele: " + "." * 60) if blank else "[Vanzator]", after=0)
    doc.left("Semnătura: " + "." * 30, after=0)
    return doc


# -------------------------------------------- combined request and offer forms
def seller_block(n):
    """Identity of seller n of the request form; the extra sellers' copies are made
    from the same text with the number changed."""
    k = str(n)
    return [
        "\\pard\\plain\\qj\\fi567\\sa60\\sl276\\slmult1\\f0\\fs22\\lang1048 {\\b [VANZATOR" + k
        + "]}, CNP [CNPCUI" + k + "], născut/născută la data de [DATAN" + k
        + "], identificat/identificată cu [BI" + k + "] seria [BISERIA" + k + "] nr. [BINR"
        + k + "], eliberat de [BIElib" + k + "], cu domiciliul în localitatea [LOCV" + k
        + "], [Adresa" + k + "], județul/sectorul [JUDET" + k + "], telefon [TEL" + k + "],\\par",
        "\\pard\\plain\\qj\\fi567\\sa120\\sl276\\slmult1\\f0\\fs20\\lang1048 prin împuternicit "
        "[MANDATAR" + k + "], CNP [MCNPCUI" + k + "], născut/născută la data de [MDATAN" + k
        + "], identificat/identificată cu [MBI" + k + "] seria [MBISERIA" + k + "] nr. [MBINR" + k
        + "], eliberat de [MBIElib" + k + "], cu domiciliul în localitatea [MLOCV" + k
        + "], [MAdresa" + k + "], județul/sectorul [MJUDET" + k + "], cod poștal [MCODPOST" + k
        + "], telefon [MTEL" + k + "], în calitate de [MCalitate" + k + "], conform [MConform" + k
        + "],\\par",
    ]


def seller_block_text(n):
    from rtfdoc import escape
    lines = []
    for line in seller_block(n):
        # Only the letters need the code page; the RTF words are ASCII already.
        lines.append("".join(escape(ch) if ord(ch) > 127 else ch for ch in line))
    return lines


def extra_sellers_text():
    """The block the register copies once per extra seller: "și", then the seller."""
    lines = ["\\pard\\plain\\qj\\fi567\\sa60\\sl276\\slmult1\\f0\\fs22\\lang1048 "
             + "\\'ba" + "i\\par"]
    lines += seller_block_text(1)
    return "\n".join(lines) + "\n"


def request_and_offer(company):
    doc = Doc("Cerere și ofertă de vânzare", size=22)
    doc.annex("Anexa nr. 1 și Anexa nr. 2" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare **[NR]** din [ZI].[LUNA].[AN]", after=0)
    doc.left("Dosar nr. [NRDOSAR]", after=240)
    doc.center("Către", after=0)
    doc.center("**[PRIMARIA]**", after=0)
    doc.center("județul [JUD]", after=240)
    doc.title_block("CERERE", "pentru afișarea ofertei de vânzare a terenului agricol "
                    "situat în extravilan")
    doc.raw("\\pard\\plain\\qj\\fi0\\sa120\\sl276\\slmult1\\f0\\fs22\\lang1048 [Vanzatori]\\par")
    doc.p("în calitate de proprietar" + ("" if company else "/proprietari")
          + " al terenului descris mai jos, în temeiul Legii nr. 17/2014 privind unele "
          "măsuri de reglementare a vânzării terenurilor agricole situate în extravilan, "
          "solicit" + ("" if company else "/solicităm") + " afișarea ofertei de vânzare "
          "anexate la sediul primăriei și pe pagina de internet a acesteia, pentru terenul "
          "agricol situat în extravilanul localității [LOCALIT], în suprafață de [SUPRAF] ha, "
          "cota-parte [Cotaparte] ([COTAPARTES] ha), identificat prin numărul cadastral "
          "[NRCAD], înscris în cartea funciară nr. [NRCARTE].")
    doc.p("[Declar2] datele din prezenta cerere și din documentele anexate sunt conforme "
          "cu realitatea, cunoscând prevederile Codului penal privind falsul în declarații.")
    doc.p("Anexez/Anexăm următoarele documente:", after=60)
    doc.bullets(ATTACHMENTS_REQUEST)
    doc.left("Data: [ZI].[LUNA].[AN]", before=240, after=0)
    doc.left("**[SEMNATURI]**", before=120, after=0)
    signature_lines(doc)
    # The offer itself, on its own page.
    doc.raw("\\pard\\plain\\ql\\sa0\\f0\\fs24\\lang1048 \\page\\par")
    doc.annex("Anexa nr. 2" + (" – persoană juridică" if company else ""))
    doc.left("Nr. înregistrare **[NR]** din [ZI].[LUNA].[AN]", after=240)
    doc.title_block("OFERTĂ DE VÂNZARE TEREN", "situat în extravilan")
    if company:
        doc.p("Subscrisa **[VANZATOR1]**, cod unic de înregistrare [CNPCUI1], cu sediul în "
              "localitatea [LOCV1], [Adresa1], județul/sectorul [JUDET1], telefon [TEL1], "
              "reprezentată legal prin [MANDATAR1], CNP [MCNPCUI1], cu domiciliul în "
              "localitatea [MLOCV1], [MAdresa1], județul/sectorul [MJUDET1], cod poștal "
              "[MCODPOST1], telefon [MTEL1], în calitate de [MCalitate1], conform [MConform1],")
        doc.raw("[ALTVANZATOR]")
    else:
        doc.lines += seller_block_text(1)
        doc.raw("[ALTVANZATOR]")
    doc.p("[Vand] teren agricol situat în extravilan, în suprafață de **[SUPRAF]** ha, "
          "cota-parte [Cotaparte] ([COTAPARTES] ha), la prețul de **[PRET]** lei "
          "(în litere: [PretL]).")
    doc.p("Date de identificare a terenului:", after=60, keep=True)
    doc.table(LAND_WIDTHS, land_rows(Fill(False)))
    doc.p("Terenul este situat în tarlaua [TARLA], nr. [NRTARLA]. Condițiile de vânzare: "
          "[Conditii].")
    doc.table([5000, 2177, 2177], [
        ["Situația terenului", "DA", "NU"],
        ["Terenul face obiectul unor litigii", "( [LD] )", "( [LN] )"],
        ["Terenul este grevat de sarcini", "( [SD] )", "( [SN] )"],
        ["Terenul nu este arendat (fără contract de arendare)", "( [FC1] )", "( [FC2] )"],
    ], align=["l", "c", "c"])
    doc.p("[Declar] terenului descris mai sus. [Sunt] de acord ca oferta să fie afișată și "
          "comunicată preemptorilor; [Declar3] că datele din prezenta ofertă sunt complete "
          "și corecte.")
    doc.p("Preemptorii cunoscuți ai terenului, pe ranguri de preferință:", after=60, keep=True)
    rows = [["Rangul", "Preemptori (nume, cod, adresă)"]]
    for n, roman in enumerate(["I", "II", "III", "IV", "V", "VI", "VII"], start=1):
        rows.append([roman, "[PREE%d]" % n])
    doc.table([1100, 8254], rows, align=["c", "l"])
    doc.left("Data: [ZI].[LUNA].[AN]", before=240, after=0)
    doc.left("**[SEMNATURI]**", before=120, after=0)
    signature_lines(doc)
    return doc


def signature_lines(doc):
    # Each seller's signature is a paragraph of its own, so that a name never
    # runs on after the dots of the signature before it; the unused slots get
    # a blank. Mixed case keeps each name as typed.
    for k in range(1, 41):
        slot = "[S%d]" % k if k < 10 else "[s%d]" % k
        doc.raw("\\pard\\plain\\ql\\sa0\\keep\\f0\\fs%d\\lang1048 " % doc.size
                + slot + "\\par")
