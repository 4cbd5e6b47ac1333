#include "dialogs/dialogparts.h"

#include "dialogs/tnumericf.h"
#include "platform/prompter.h"
#include "ui/qtprompter.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace {

// A date picker that Tab, and so Enter, leaves at once: Qt's own moves
// through day, month and year first, which would stop the Enter walk.
// Left and Right still move between the parts.
class EntryDateEdit : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

} // namespace

namespace dialogparts {

void KeepCase(QLineEdit *edit, LetterCase letterCase)
{
    if (letterCase == LetterCase::AsTyped)
        return;
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, letterCase](const QString &text) {
        const QString wanted = letterCase == LetterCase::Upper ? text.toUpper() : text.toLower();
        if (wanted == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(wanted);
        edit->setCursorPosition(cursor);
    });
}

void WidthForChars(QWidget *widget, int chars)
{
    if (chars <= 0)
        return;
    const int charWidth = widget->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 3 / 4;
    widget->setMinimumWidth(charWidth * chars + 16);
}

QLineEdit *TextField(QWidget *parent, const char *name, int maxLength, LetterCase letterCase, int visibleChars)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    KeepCase(edit, letterCase);
    WidthForChars(edit, visibleChars);
    return edit;
}

QComboBox *ListField(QWidget *parent, const char *name, const QStringList &items, bool editable, int maxLength,
                     LetterCase letterCase)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(editable);
    box->addItems(items);
    box->setMaxVisibleItems(20);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    if (editable) {
        // Typed text is not added to the list as an item.
        box->setInsertPolicy(QComboBox::NoInsert);
        if (maxLength > 0)
            box->lineEdit()->setMaxLength(maxLength);
        KeepCase(box->lineEdit(), letterCase);
    }
    return box;
}

TNumericF *NumberField(QWidget *parent, const char *name, int maskInt, int maskZec, int maxLength)
{
    auto *field = new TNumericF(maskInt, maskZec, parent);
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(maxLength);
    WidthForChars(field, maxLength);
    return field;
}

QDateEdit *DateField(QWidget *parent, const char *name)
{
    auto *date = new EntryDateEdit(parent);
    date->setObjectName(QLatin1String(name));
    date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    date->setCalendarPopup(true);
    // The zero date of the tables stands for "no date" and shows blank.
    date->setMinimumDate(QDate(1899, 12, 30));
    date->setSpecialValueText(QStringLiteral(" "));
    date->setDate(QDate::currentDate());
    WidthForChars(date, 13);
    return date;
}

QLabel *Label(const QString &text, QWidget *parent, bool bold)
{
    auto *label = new QLabel(text, parent);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

QColor RequiredColour()
{
    return QColor(237, 236, 197);
}

void MarkRequired(QWidget *field, bool required)
{
    QPalette palette = field->parentWidget() ? field->parentWidget()->palette() : field->palette();
    if (required)
        palette.setColor(QPalette::Base, RequiredColour());
    field->setPalette(palette);
    field->setAutoFillBackground(required);
}

QWidget *HeaderBand(QWidget *parent, QLabel **title)
{
    auto *band = new QFrame(parent);
    band->setObjectName(QStringLiteral("HeaderBand"));
    band->setFrameShape(QFrame::StyledPanel);
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, QColor(0xE1, 0xDE, 0xFA));
    band->setPalette(palette);
    auto *layout = new QHBoxLayout(band);
    layout->setContentsMargins(12, 6, 12, 6);
    *title = Label(QString(), band, true);
    (*title)->setObjectName(QStringLiteral("TitleL"));
    QFont f = (*title)->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    (*title)->setFont(f);
    layout->addWidget(*title);
    layout->addStretch();
    return band;
}

QHBoxLayout *FooterButtons(QWidget *parent, QPushButton **save, QPushButton **cancel, const QString &saveCaption)
{
    *save = new QPushButton(saveCaption, parent);
    (*save)->setObjectName(QStringLiteral("MemoBut"));
    *cancel = new QPushButton(QStringLiteral("&Renunt"), parent);
    (*cancel)->setObjectName(QStringLiteral("RenuntBut"));
    for (QPushButton *b : {*save, *cancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(*save);
    row->addWidget(*cancel);
    return row;
}

void ChainTabOrder(const QList<QWidget *> &widgets)
{
    for (int i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets.at(i - 1), widgets.at(i));
}

Prompter &PrompterOr(Prompter *given)
{
    return given ? *given : static_cast<Prompter &>(qtPrompter());
}

bool RunReported(Prompter &prompter, const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const std::exception &e) {
        prompter.Mesaj(QStringLiteral("Eroare"), QString::fromUtf8(e.what()), ButtonOk, KindError);
        return false;
    }
}

} // namespace dialogparts
