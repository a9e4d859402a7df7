// The engine never includes widgets.
#include <QWidget>
#include <QImage>
