#pragma once
// The about box: the program's name and picture, where to get support, and
// a button to close it. A press anywhere on its own surface drags the box.
// Created modally by the main window, which owns it while it is open.
// Interface thread only.

#include <QDialog>
#include <QPoint>

class QVBoxLayout;

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *owner);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QWidget *CreateHeaderBand();
    void CreateSupportLines(QVBoxLayout *layout);

    QPoint m_dragOffset;
};
