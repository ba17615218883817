#pragma once

// The kinds of control a page or window of the program holds by its design
// name, declared once for every page header.

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPixmap;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace pelmar {
class ClickLabel;
class DataGrid;
class NumberBox;
struct ProgramState;
} // namespace pelmar
