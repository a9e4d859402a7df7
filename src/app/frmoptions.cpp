#include "app/frmoptions.h"

#include "app/formtexts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton *NewButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

TFrmOptions::TFrmOptions(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(465, 256);

    auto *pageTree = new QTreeWidget(this);
    pageTree->setObjectName(QStringLiteral("tvPages"));
    pageTree->setHeaderHidden(true);
    pageTree->setRootIsDecorated(false);
    pageTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pageTree->setFixedWidth(130);
    for (const QString &page : {QStringLiteral("Colours"), QStringLiteral("Catalogue"), QStringLiteral("Player")})
        pageTree->addTopLevelItem(new QTreeWidgetItem({page}));

    auto *notebook = new QStackedWidget(this);
    notebook->setObjectName(QStringLiteral("Notebook1"));
    notebook->addWidget(CreateColourPage());
    notebook->addWidget(new QWidget(notebook));
    notebook->addWidget(new QWidget(notebook));
    connect(pageTree, &QTreeWidget::currentItemChanged, notebook,
            [pageTree, notebook](QTreeWidgetItem *current) {
                notebook->setCurrentIndex(qMax(0, pageTree->indexOfTopLevelItem(current)));
            });
    pageTree->setCurrentItem(pageTree->topLevelItem(0));

    auto *btnOk = NewButton("btnOk", QStringLiteral("&Ok"), this);
    auto *btnCancel = NewButton("btnCancel", QStringLiteral("&Cancel"), this);
    auto *btnReset = NewButton("btnReset", QStringLiteral("Reset to Defaults"), this);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *pages = new QHBoxLayout;
    pages->addWidget(pageTree);
    pages->addWidget(notebook, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnReset);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pages, 1);
    layout->addLayout(buttons);

    ApplyFormTexts(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QWidget *TFrmOptions::CreateColourPage()
{
    auto *page = new QWidget;
    auto *labels = new QVBoxLayout(page);
    const char *names[] = {"lblThumbBackground", "lblSmallPreviewBackground", "lblLargePreviewBackground"};
    const QString captions[] = {QStringLiteral("Thumbnail background"), QStringLiteral("Small preview background"),
                                QStringLiteral("Large preview background")};
    for (int index = 0; index < 3; ++index) {
        auto *label = new QLabel(captions[index], page);
        label->setObjectName(QLatin1String(names[index]));
        labels->addWidget(label);
    }
    labels->addStretch();
    return page;
}
