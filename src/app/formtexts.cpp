#include "app/formtexts.h"

void ApplyFormTexts(QWidget *) {}
