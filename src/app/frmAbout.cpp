#include "frmAbout.h"

#include "AppIcon.h"
#include "AppInfo.h"
#include "toolkit/Fonts.h"
#include "toolkit/ShownText.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace pelko {
namespace {

constexpr int kClientWidth = 5415;
constexpr int kClientHeight = 2295;
constexpr int kSeparatorTop = 1080;
constexpr int kSeparatorLeft = 120;
constexpr int kSeparatorRight = 5280;

QString disclaimer()
{
    return QStringLiteral("ご注意：\r\n"
                          "登録されているクエスト情報は、作者が独自に調査したものの他に、"
                          "書籍やインターネットで調べた情報が含まれています。\r\n"
                          "本ソフトの使用によって不利益や損害が発生したとしても作者はいかなる保証も"
                          "しないことをあらかじめご了承ください。");
}

// The etched line between the upper block and the disclaimer: grey with white below it.
class Separator : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(0, 0, width() - 1, 0);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(0, 2, width() - 1, 2);
    }
};

} // namespace

frmAbout::frmAbout(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    const qreal dpi = screenDpi(owner);
    auto at = [dpi](QWidget *w, const char *name, int left, int top, int width, int height) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(twipsRect(left, top, width, height, dpi));
    };

    auto *picIcon = new QLabel(this);
    at(picIcon, "picIcon", 120, 120, 720, 720);
    picIcon->setPixmap(applicationIcon().pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Wide enough for the Linux gothic faces, whose Latin letters run wider than the box that
    // was drawn for the Windows UI face; top-aligned, so it clears the large title below.
    auto *lblTitle1 = new QLabel(QStringLiteral("Verdania クエスト攻略ナビゲータ"), this);
    at(lblTitle1, "lblTitle1", 960, 120, 3135, 255);
    lblTitle1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *lblTitle2 = new QLabel(applicationTitle(), this);
    at(lblTitle2, "lblTitle2", 1080, 300, 2925, 360);
    lblTitle2->setFont(aboutTitleFont());
    lblTitle2->setStyleSheet(QStringLiteral("color: black"));

    // The version stands on the address line, right-aligned under the OK button: in its
    // original place, over the end of the large title, the two texts would be drawn over
    // each other.
    lblVersion = new QLabel(this);
    at(lblVersion, "lblVersion", 3495, 720, 1770, 255);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    lblURL = new QLabel(authorPageUrl(), this);
    at(lblURL, "lblURL", 960, 720, 2535, 255);
    lblURL->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255)"));
    lblURL->setCursor(Qt::PointingHandCursor);
    lblURL->setAccessibleName(authorPageUrl());
    lblURL->installEventFilter(this);

    auto *line = new Separator(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(twipsToPixels(kSeparatorLeft, dpi), twipsToPixels(kSeparatorTop, dpi),
                      twipsToPixels(kSeparatorRight - kSeparatorLeft, dpi), 4);

    auto *lblDisclaimer = new QLabel(this);
    at(lblDisclaimer, "lblDisclaimer", 240, 1200, 4935, 1005); // four wrapped lines fit whole
    lblDisclaimer->setText(toWidgetLineBreaks(disclaimer()));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisclaimer->setStyleSheet(QStringLiteral("color: black"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    at(cmdOK, "cmdOK", 4200, 120, 1065, 345);
    cmdOK->setDefault(true); // Enter presses it; Esc rejects the dialog, which closes it too
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    setFixedSize(twipsToPixels(kClientWidth, dpi), twipsToPixels(kClientHeight, dpi));
    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(aboutTitle());
    lblVersion->setText(aboutVersionText());
    // Centred over the owner's outer frame in single precision, fractions and negative values
    // kept: near a screen edge the dialog may stand partly off the screen.
    QWidget *owner = parentWidget();
    if (!owner)
        return;
    const QRect main = owner->frameGeometry(); // shown and framed: Qt knows its frame
    const QMargins frame = frameExtents(this);
    const QSize outer = size().grownBy(frame);
    const qreal dpi = screenDpi(this);
    const auto twips = [dpi](int pixels) { return static_cast<float>(pixelsToTwips(pixels, dpi)); };
    const float left = twips(main.left()) + (twips(main.width()) - twips(outer.width())) / 2.0f;
    const float top = twips(main.top()) + (twips(main.height()) - twips(outer.height())) / 2.0f;
    moveFrameTo(this, QPoint(twipsToPixels(left, dpi), twipsToPixels(top, dpi)), frame);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::lblURL_Click()
{
    openAuthorPage(); // the dialog stays open
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblURL && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lblURL_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pelko
