#include "DialogButtons.h"

#include "Named.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

DialogButtons layOutWithOkCancel(QDialog* dialog, QLayout* body, const char* cancelName)
{
    const DialogButtons buttons{named(new QPushButton(dialog), "btOK"), named(new QPushButton(dialog), cancelName)};
    buttons.ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(body);
    layout->addLayout(row);
    return buttons;
}
