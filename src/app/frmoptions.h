#pragma once
// The options dialog: a page tree beside a three-page notebook whose first
// page names the background colours of the thumbnails and of the small and
// large previews. It reads and stores nothing; its command is hidden.
// Created modally by the main window. Interface thread only.

#include <QDialog>

class TFrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TFrmOptions(QWidget *owner);

private:
    QWidget *CreateColourPage();
};
