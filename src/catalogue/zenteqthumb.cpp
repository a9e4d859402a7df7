#include "catalogue/zenteqthumb.h"

TZenteqThumb::TZenteqThumb(QWidget *parent) : QWidget(parent) { setObjectName(QStringLiteral("FlashView")); }
TZenteqThumb::~TZenteqThumb() = default;
void TZenteqThumb::LoadFolder(const QString &, const QStringList *) {}
void TZenteqThumb::setViewStyle(ViewStyle) {}
TZenteqThumb::ViewStyle TZenteqThumb::viewStyle() const { return vsIcon; }
void TZenteqThumb::selectAll() {}
int TZenteqThumb::itemCount() const { return 0; }
int TZenteqThumb::selectedCount() const { return 0; }
QString TZenteqThumb::firstSelectedPath() const { return {}; }
QStringList TZenteqThumb::selectedPaths() const { return {}; }
void TZenteqThumb::StopWorkerAndWait() {}
