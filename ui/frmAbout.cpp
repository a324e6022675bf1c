#include "ui/frmAbout.h"

#include "platform/addresses.h"
#include "platform/shell.h"
#include "resources/programicon.h"
#include "ui/controls.h"
#include "ui/modProc.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

using namespace ardovin;

namespace {

using K = ControlKind;

constexpr int ClientWidth = 5400;
constexpr int ClientHeight = 2700;
constexpr int PictureSize = 32;

constexpr qreal NamePointSize = 18;
constexpr qreal VersionPointSize = 12;

QColor LinkBlue()
{
    return QColor(0, 0, 192);
}

QColor WineRed()
{
    return QColor(142, 21, 56);
}

void SetColours(QWidget& widget, const QColor& background, const QColor& text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void SetPointSize(QLabel& label, qreal pointSize)
{
    label.setFont(modProc::ProgramFont(pointSize));
}

// Narrows a label to its text, so that the two halves of the name meet without a gap and a
// link opens nothing when clicked beside its text, whatever font the system substitutes.
void FitLabelWidth(QLabel& label, int maximumWidth)
{
    label.resize(qMin(label.sizeHint().width(), maximumWidth), label.height());
}

// A link reacts to a click like a button: released over the link with the left button.
bool IsClick(const QWidget& widget, const QEvent& event)
{
    if (event.type() != QEvent::MouseButtonRelease)
        return false;
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    return mouse.button() == Qt::LeftButton && widget.rect().contains(mouse.position().toPoint());
}

} // namespace

#define BOUND(member) ARDOVIN_BOUND(frmAbout, member)
#define NAMED(name) ARDOVIN_NAMED(name)

// The window as it is laid out, in twips. The product name is shown in two colours, by
// Label1 and Label2 side by side; the links are as wide as their texts.
std::span<const ControlSpec<frmAbout>> frmAbout::Layout()
{
    using F = frmAbout;
    static const ControlSpec<F> rows[] = {
        {BOUND(Picture1), K::Panel, nullptr, 0, 0, 5400, 2700, nullptr, nullptr, "About panel"},
        {BOUND(Picture2), K::Label, &F::Picture1, 240, 240, 480, 480, nullptr, nullptr,
         "Ardovin icon"},
        {BOUND(Label1), K::Label, &F::Picture1, 960, 150, 1200, 540, "Ardo", nullptr, nullptr},
        {BOUND(Label2), K::Label, &F::Picture1, 2160, 150, 900, 540, "vin", nullptr, nullptr},
        {BOUND(Label3), K::Label, &F::Picture1, 960, 690, 2400, 360, "Version 3.00", nullptr,
         nullptr},
        {NAMED("Label4"), K::Label, &F::Picture1, 240, 1200, 4920, 300,
         "A sulphite calculator for wine makers.", nullptr, nullptr},
        {BOUND(lblWeb), K::Label, &F::Picture1, 240, 1620, 3600, 300, nullptr,
         "Go to program web site.", nullptr},
        {BOUND(lblMail), K::Label, &F::Picture1, 240, 1980, 3600, 300, "Ardovin developers",
         "Email the author.", nullptr},
        {BOUND(cmdOK), K::Button, &F::Picture1, 3960, 2100, 1200, 390, "&OK", "Close window.",
         nullptr},
    };
    return rows;
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    ardovin::BuildControls(*this, *this, Layout());
    StyleControls();
    FitToText();
    setFixedSize(Twips(ClientWidth), Twips(ClientHeight));
    TakeOwnerIcon();

    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    lblWeb->installEventFilter(this);
    lblMail->installEventFilter(this);
}

void frmAbout::StyleControls()
{
    // The panel is light grey whatever the colour scheme, so its texts are black whatever the
    // scheme's text colour.
    SetColours(*Picture1, LightGrey(), Qt::black);
    for (QLabel* label : Picture1->findChildren<QLabel*>())
        SetColours(*label, LightGrey(), Qt::black);

    Picture2->setPixmap(ProgramIcon().pixmap(PictureSize, PictureSize));
    Picture2->setAlignment(Qt::AlignCenter);

    SetPointSize(*Label1, NamePointSize);
    SetPointSize(*Label2, NamePointSize);
    SetColours(*Label2, LightGrey(), WineRed());
    SetPointSize(*Label3, VersionPointSize);

    lblWeb->setText(SiteHost());
    lblWeb->setAccessibleName(SiteHost());
    for (QLabel* link : {lblWeb, lblMail}) {
        SetColours(*link, LightGrey(), LinkBlue());
        link->setCursor(Qt::PointingHandCursor);
    }
}

void frmAbout::FitToText()
{
    const int panelWidth = Twips(ClientWidth);
    FitLabelWidth(*Label1, panelWidth);
    Label2->move(Label1->geometry().right() + 1, Label1->y());
    FitLabelWidth(*Label2, panelWidth - Label2->x());
    for (QLabel* link : {lblWeb, lblMail})
        FitLabelWidth(*link, cmdOK->x() - link->x());
}

void frmAbout::TakeOwnerIcon()
{
    QIcon icon = parentWidget() ? parentWidget()->window()->windowIcon() : QIcon();
    setWindowIcon(icon.isNull() ? ProgramIcon() : icon);
}

bool frmAbout::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        TakeOwnerIcon();
    return QDialog::event(event);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWeb && IsClick(*lblWeb, *event))
        lblWeb_Click();
    else if (watched == lblMail && IsClick(*lblMail, *event))
        lblMail_Click();
    return QDialog::eventFilter(watched, event);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::lblWeb_Click()
{
    OpenDocument(SiteHomeAddress());
}

void frmAbout::lblMail_Click()
{
    OpenDocument(MailAddress());
}
