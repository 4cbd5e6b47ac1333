#!/usr/bin/env python3
"""Writes the document templates carried by the program.

    python3 scripts/templates/build.py [output folder]

The output folder defaults to resources/templates. Each template is written as
<resource name>.rtf, together with markers.tsv, the table of the markers each
template holds. The generated files are committed; run this after changing the
wording or layout here and commit both.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import acts  # noqa: E402
import forms  # noqa: E402
from rtfdoc import markers_of  # noqa: E402

BLANK = "formular"
DOCUMENT = "document"
FRAGMENT = "fragment"

# resource name, file in the data folder ("-" when the program only uses it
# itself), role, builder. The first 43 rows follow the order of extraction.
CATALOGUE = [
    ("Anexa1", "Anexa_1.rtf", BLANK, lambda: forms.request_blank()),
    ("Anexa1PJ", "Anexa_1PJ.rtf", BLANK, lambda: forms.request_blank(company=True)),
    ("Anexa2", "Anexa_2.rtf", BLANK, lambda: forms.offer_blank()),
    ("Anexa2PJ", "Anexa_2PJ.rtf", BLANK, lambda: forms.offer_blank(company=True)),
    ("Anexa_9", "Anexa_9.rtf", DOCUMENT, acts.display_report),
    ("AdresaDAJ", "AdresaDAJ.rtf", DOCUMENT, lambda: acts.forward_offer(to_ads=False)),
    ("AdresaADS", "AdresaADS.rtf", DOCUMENT, lambda: acts.forward_offer(to_ads=True)),
    ("Anexa4", "Anexa_4.rtf", DOCUMENT, acts.notification),
    ("Anexa5PFM", "Anexa_5PF.rtf", DOCUMENT, lambda: acts.acceptance(False, False)),
    ("Anexa5PJM", "Anexa_5PJ.rtf", DOCUMENT, lambda: acts.acceptance(True, False)),
    ("Anexa5PF", "Anexa_5PFModel.rtf", BLANK, lambda: acts.acceptance(False, True)),
    ("Anexa5PJ", "Anexa_5PJModel.rtf", BLANK, lambda: acts.acceptance(True, True)),
    ("Anexa6PF", "Anexa_6PF.rtf", DOCUMENT, lambda: acts.purchase_offer(False, False)),
    ("Anexa6PJ", "Anexa_6PJ.rtf", DOCUMENT, lambda: acts.purchase_offer(True, False)),
    ("Anexa6PFM", "Anexa_6PFModel.rtf", BLANK, lambda: acts.purchase_offer(False, True)),
    ("Anexa6PJM", "Anexa_6PJModel.rtf", BLANK, lambda: acts.purchase_offer(True, True)),
    ("Anexa7PF", "Anexa_7PF.rtf", DOCUMENT, lambda: acts.decision(False, False)),
    ("Anexa7PFM", "Anexa_7PFModel.rtf", BLANK, lambda: acts.decision(False, True)),
    ("Anexa7PJ", "Anexa_7PJ.rtf", DOCUMENT, lambda: acts.decision(True, False)),
    ("Anexa7PJM", "Anexa_7PJModel.rtf", BLANK, lambda: acts.decision(True, True)),
    ("Anexa2C", "ANEXA_2CPF.rtf", BLANK, lambda: forms.defence_blank()),
    ("Anexa2D", "ANEXA_2DPJ.rtf", BLANK, lambda: forms.defence_blank(company=True)),
    ("Anexa3", "Anexa_3.rtf", DOCUMENT, acts.preemptors_list),
    ("PVComun", "PVComun.rtf", DOCUMENT, acts.communication_report),
    ("AdresaCom", "AdresaCom.rtf", DOCUMENT, acts.communication_letter),
    ("A3A_AdrSit", "A3A_AdrSit.rtf", DOCUMENT, lambda: acts.site_letter("one")),
    ("A3A_AdrSitM", "A3A_AdrSitM.rtf", DOCUMENT, lambda: acts.site_letter("several")),
    ("A3A_AdrSitJ", "A3A_AdrSitJ.rtf", DOCUMENT, lambda: acts.site_letter("company")),
    ("COFPF", "CeresiOfertaPF3.rtf", DOCUMENT, lambda: forms.request_and_offer(False)),
    ("CeresiOfertaPJ", "CeresiOfertaPJ3.rtf", DOCUMENT, lambda: forms.request_and_offer(True)),
    ("Anexa12", "Anexa_12.rtf", DOCUMENT, acts.cancel_report),
    ("AdresaAnulare", "AdresaAnulare.rtf", DOCUMENT, acts.cancel_letter),
    ("Anexa11", "Anexa_11.rtf", DOCUMENT, acts.stage_one_closed),
    ("PVFinalCom", "PVFinalCom.rtf", DOCUMENT, acts.closed_with_holder),
    ("AdresaFinalCom", "AdresaFinalCom.rtf", DOCUMENT, acts.closed_with_holder_letter),
    ("Anexa13", "Anexa_13.rtf", DOCUMENT, acts.closed_without),
    ("AdresaFinalFaraCom", "AdresaFinalFaraCom.rtf", DOCUMENT, acts.closed_without_letter),
    ("PVOfertant", "PVOfertant.rtf", DOCUMENT, acts.offer_report),
    ("AdresaOfertant", "AdresaOfertant.rtf", DOCUMENT, acts.offer_letter),
    ("PVFinalOf", "PVFinalOf.rtf", DOCUMENT, acts.closed_with_buyer),
    ("AdresaFinalOf", "AdresaFinalOf.rtf", DOCUMENT, acts.closed_with_buyer_letter),
    ("CerereAnulOfModel", "CerereAnulOfModel.rtf", BLANK, lambda: forms.withdrawal(True)),
    ("CerereAnulOf", "CerereAnulOf.rtf", DOCUMENT, lambda: forms.withdrawal(False)),
    # Forms for several applicants: the base holds two, the fragments the rest.
    ("Anexa_1M", "-", BLANK, lambda: forms.request_blank(several=True)),
    ("Anexa_1M1", "-", FRAGMENT, lambda: forms.fragment(1)),
    ("Anexa_1M2", "-", FRAGMENT, lambda: forms.fragment(2)),
    ("Anexa_2M", "-", BLANK, lambda: forms.offer_blank(several=True)),
    ("Anexa_2M1", "-", FRAGMENT, lambda: forms.fragment(1)),
    ("Anexa_2M2", "-", FRAGMENT, lambda: forms.fragment(2)),
    ("Anexa2CM", "-", BLANK, lambda: forms.defence_blank(several=True)),
    ("Anexa2CM1", "-", FRAGMENT, lambda: forms.fragment(1)),
    ("Anexa2CM2", "-", FRAGMENT, lambda: forms.fragment(3)),
    ("RapExpirate", "-", DOCUMENT, acts.expired_report),
    ("COPFM1", "-", FRAGMENT, forms.extra_sellers_text),
]


def render(builder):
    result = builder()
    return result if isinstance(result, str) else result.text()


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "templates")
    os.makedirs(out, exist_ok=True)
    table = ["# resource\tfile\trole\tmarkers"]
    for resource, file_name, role, builder in CATALOGUE:
        text = render(builder)
        with open(os.path.join(out, resource + ".rtf"), "w", encoding="ascii", newline="\n") as f:
            f.write(text)
        table.append("\t".join([resource, file_name, role, " ".join(markers_of(text))]))
    with open(os.path.join(out, "markers.tsv"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(table) + "\n")


if __name__ == "__main__":
    main()
