#pragma once
// The interface texts: one table of (form class, control name, text),
// applied to a form when it is created. Forms name their child objects
// (actions, menus, labels, buttons...) as the table does.

class QWidget;

void ApplyFormTexts(QWidget *form);
