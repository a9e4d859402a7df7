#include "app/frmabout.h"

#include "app/contactlinks.h"
#include "app/formtexts.h"
#include "ui/drawnicons.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel *NewLinkLine(const char *name, const QString &caption, const QString &url, QWidget *parent)
{
    auto *line = new QLabel(parent);
    line->setObjectName(QLatin1String(name));
    line->setTextFormat(Qt::RichText);
    line->setText(QStringLiteral("<a href=\"%1\" style=\"color: blue; text-decoration: underline\">%2</a>")
                      .arg(url.toHtmlEscaped(), caption.toHtmlEscaped()));
    line->setCursor(Qt::PointingHandCursor);
    QObject::connect(line, &QLabel::linkActivated, line,
                     [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });
    return line;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(390, 228);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(CreateHeaderBand());
    CreateSupportLines(layout);
    layout->addStretch();

    auto *btnQuit = new QPushButton(QStringLiteral("Close"), this);
    btnQuit->setObjectName(QStringLiteral("btnQuit"));
    connect(btnQuit, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnQuit);
    buttons->addSpacing(12);
    layout->addLayout(buttons);

    ApplyFormTexts(this);
}

QWidget *TFrmAbout::CreateHeaderBand()
{
    auto *band = new QWidget(this);
    band->setObjectName(QStringLiteral("panHeader"));
    band->setAutoFillBackground(true);
    QPalette highlight = band->palette();
    highlight.setColor(QPalette::Window, highlight.color(QPalette::Light));
    band->setPalette(highlight);

    auto *title = new QLabel(QStringLiteral("Zenteq Pavoko V1.3"), band);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPixelSize(24);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto *picture = new QLabel(band);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setPixmap(ProgramPicture(32));
    picture->setFixedSize(32, 32);

    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(14, 12, 14, 12);
    row->addWidget(title);
    row->addStretch();
    row->addWidget(picture);
    return band;
}

void TFrmAbout::CreateSupportLines(QVBoxLayout *layout)
{
    auto *heading = new QLabel(QStringLiteral("technical Support"), this);
    heading->setObjectName(QStringLiteral("lblSupport"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto *lines = new QVBoxLayout;
    lines->setContentsMargins(20, 14, 20, 0);
    lines->setSpacing(6);
    lines->addWidget(heading);
    lines->addWidget(NewLinkLine("lblWeb", QStringLiteral("Web: ") + kHomepageUrl, kHomepageUrl, this));
    lines->addWidget(NewLinkLine("lblEmail", QStringLiteral("Email: ") + kSupportAddress, kSupportMailUrl, this));
    layout->addLayout(lines);
}

// A press anywhere on the box's own surface drags it like a title bar;
// the links and the button take their own presses.
void TFrmAbout::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QDialog::mousePressEvent(event);
    m_dragOffset = event->globalPosition().toPoint() - pos();
    event->accept();
}

void TFrmAbout::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QDialog::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - m_dragOffset);
    event->accept();
}
