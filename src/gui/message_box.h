#pragma once
#include <string>

#include "app/view.h"

class QWidget;

// Shows the application's modal box: caption "ProgramCD Recording", no icon,
// OK or OK and Cancel. Cancel when the operator pressed Cancel or closed an
// OK/Cancel box otherwise; OK in every other case.
Answer ShowMessageBox(QWidget* parent, const std::string& text, Buttons buttons);
