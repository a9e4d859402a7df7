#pragma once
// The interface texts: one table of (form class, control name, text),
// applied to a form when it is created. Forms name their child objects
// (actions, menus, labels, buttons...) as the table does; a control the
// form does not have is skipped. Interface thread only.

class QWidget;

// Gives `form` the program's font and, by the first of its classes that
// the table knows, the texts of its caption and controls.
void ApplyFormTexts(QWidget *form);
