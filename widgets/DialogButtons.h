#pragma once

class QDialog;
class QLayout;
class QPushButton;

struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
};

// Lays out the dialog: body, and under it to the right "btOK", the default
// button, and the cancel button of that name. The dialog says what they do.
DialogButtons layOutWithOkCancel(QDialog* dialog, QLayout* body, const char* cancelName);
