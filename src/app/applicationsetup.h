#pragma once
// What the program sets on its application object before any window
// opens: the program's picture for every window, and its desktop entry's
// name, by which desktops match its windows to the entry. Window titles
// stay each window's own caption: nothing appends the program's name.

void SetUpApplication();
