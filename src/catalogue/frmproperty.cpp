#include "catalogue/frmproperty.h"

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "catalogue/thumbnailpainter.h"
#include "ui/plaintext.h"

namespace {

constexpr int kCaptionLeft = 24;
constexpr int kValueLeft = 73;
constexpr int kValueWidth = 130;
constexpr int kLabelHeight = 13;
// Rows of the caption/value pairs, from "Path" to "Height".
constexpr int kRowTops[] = {72, 93, 114, 136, 157, 178, 200};

}  // namespace

TFrmProperty::TFrmProperty(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmProperty"));
    setWindowTitle(QStringLiteral("Property"));
    setFixedSize(231, 263);
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(6, 2, 219, 227);

    auto *picture = new QLabel(group);
    picture->setObjectName(QStringLiteral("Image2"));
    picture->setGeometry(17, 17, 32, 32);
    picture->setPixmap(QPixmap::fromImage(ApplicationIcon(32)));

    memName_ = new QPlainTextEdit(group);
    memName_->setObjectName(QStringLiteral("memName"));
    memName_->setGeometry(64, 20, 135, 45);
    memName_->setReadOnly(true);
    memName_->setFrameShape(QFrame::NoFrame);
    memName_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memName_->setStyleSheet(QStringLiteral("background: palette(button);"));

    const char *const captions[][2] = {{"lPath", "Path"},     {"lVersion", "Version"}, {"LLength", "Size"},
                                       {"LFrameCount", "Frames"}, {"LRate", "Rate"},   {"lWidth", "Width"},
                                       {"LHeight", "Height"}};
    for (int row = 0; row < 7; ++row)
        addCaption(group, captions[row][0], captions[row][1], kRowTops[row]);
    lblPath_ = addValue(group, "lblPath", kRowTops[0]);
    lblType_ = addValue(group, "lblType", kRowTops[1]);
    lblSize_ = addValue(group, "lblSize", kRowTops[2]);
    lblFrameCount_ = addValue(group, "lblFrameCount", kRowTops[3]);
    lblRate_ = addValue(group, "lblRate", kRowTops[4]);
    lblWidth_ = addValue(group, "lblWidth", kRowTops[5]);
    lblHeight_ = addValue(group, "lblHeight", kRowTops[6]);

    auto *quit = new QPushButton(QStringLiteral("Cancel"), this);
    quit->setObjectName(QStringLiteral("btnQuit"));
    quit->setGeometry(139, 233, 75, 25);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel *TFrmProperty::addCaption(QWidget *group, const char *name, const char *text, int top)
{
    auto *label = new QLabel(QString::fromLatin1(text), group);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(kCaptionLeft, top, kValueLeft - kCaptionLeft, kLabelHeight);
    return label;
}

QLabel *TFrmProperty::addValue(QWidget *group, const char *name, int top)
{
    auto *label = new QLabel(group);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(kValueLeft, top, kValueWidth, kLabelHeight);
    return label;
}

void TFrmProperty::ShowHeader(const QString &path, const TSwfHeader &header, const QLocale &locale)
{
    const int cut = path.lastIndexOf(QLatin1Char('/')) + 1;
    memName_->setPlainText(path.mid(cut));
    lblPath_->setText(path.left(cut));
    lblPath_->setToolTip(PlainToolTip(path.left(cut)));
    lblType_->setText(QStringLiteral("Flash %1").arg(header.Version));
    lblSize_->setText(PropertyLengthText(header.FileLength, locale));
    lblFrameCount_->setText(QString::number(header.FrameCount));
    lblRate_->setText(QStringLiteral("%1 fps").arg(header.FrameRate));
    lblWidth_->setText(QString::number(HeaderWidth(header)));
    lblHeight_->setText(QString::number(HeaderHeight(header)));
}

QString TFrmProperty::nameText() const { return memName_->toPlainText(); }

QString TFrmProperty::valueText(const char *labelName) const
{
    const auto *label = findChild<QLabel *>(QString::fromLatin1(labelName));
    return label ? label->text() : QString();
}

QString PropertyLengthText(uint32_t length, const QLocale &locale)
{
    QLocale grouping = locale;
    grouping.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouping.toString(qulonglong(length)) + QStringLiteral(" byte");
}

void ShowMovieProperties(QWidget *owner, const QString &path, void (*applyTexts)(QWidget *form))
{
    TFrmProperty dialog(owner);
    if (applyTexts)
        applyTexts(&dialog);
    TSwfHeader header;
    ReadSwfHeader(path, header);
    dialog.ShowHeader(path, header);
    dialog.exec();
}
