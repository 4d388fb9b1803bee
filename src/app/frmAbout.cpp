#include "frmAbout.h"

#include "AppIcon.h"
#include "AppInfo.h"
#include "Layout.h"
#include "toolkit/Fonts.h"
#include "toolkit/ShownText.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace pelko {
namespace {

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

    auto *picIcon = place(new QLabel(this), "picIcon", dpi);
    picIcon->setPixmap(applicationIcon().pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Top-aligned, so that it clears the large title below.
    auto *lblTitle1 = place(new QLabel(QStringLiteral("Verdania クエスト攻略ナビゲータ"), this),
                            "lblTitle1", dpi);
    lblTitle1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *lblTitle2 = place(new QLabel(applicationTitle(), this), "lblTitle2", dpi);
    lblTitle2->setFont(aboutTitleFont());
    lblTitle2->setStyleSheet(QStringLiteral("color: black"));

    lblVersion = place(new QLabel(this), "lblVersion", dpi);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    lblURL = place(new QLabel(authorPageUrl(), this), "lblURL", dpi);
    lblURL->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255)"));
    lblURL->setCursor(Qt::PointingHandCursor);
    lblURL->setAccessibleName(authorPageUrl());
    lblURL->installEventFilter(this);

    place(new Separator(this), "Line1", dpi);

    auto *lblDisclaimer = place(new QLabel(this), "lblDisclaimer", dpi);
    lblDisclaimer->setText(toWidgetLineBreaks(disclaimer()));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisclaimer->setStyleSheet(QStringLiteral("color: black"));

    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", dpi);
    cmdOK->setDefault(true); // Enter presses it; Esc rejects the dialog, which closes it too
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    // Wrapped in a face with wide kana, the disclaimer takes more lines than its box holds: the
    // box and the dialog grow down by what it lacks, so that no line is lost.
    const int lacking = std::max(0, lblDisclaimer->heightForWidth(lblDisclaimer->width())
                                        - lblDisclaimer->height());
    lblDisclaimer->resize(lblDisclaimer->width(), lblDisclaimer->height() + lacking);
    setFixedSize(twipsToPixels(kAboutClientWidth, dpi),
                 twipsToPixels(kAboutClientHeight, dpi) + lacking);
    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(aboutTitle());
    lblVersion->setText(aboutVersionText());
    // Centred over the owner's outer frame (shown and framed: Qt knows it); near a screen edge
    // the dialog may stand partly off the screen.
    if (QWidget *owner = parentWidget())
        centreFrameOn(this, owner->frameGeometry());
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
