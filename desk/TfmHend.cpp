#include "TfmHend.h"

#include "TfmMain.h"
#include "app/Forms.h"
#include "config/Messages.h"
#include "data/QueryModel.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "tools/TfmCard_T.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kCodeLength = 16;

} // namespace

TfmHend::TfmHend(Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , Query(forms.main->connection())
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmHend"));
    setModal(true);
    setFixedSize(1073, 542);
    Query.setSql(QStringLiteral("SELECT * FROM Users"));

    edID = new QLineEdit(this);
    edID->setObjectName(QStringLiteral("edID"));
    edID->setMaxLength(kCodeLength);
    btClear = new QToolButton(this);
    btClear->setObjectName(QStringLiteral("btClear"));
    btClear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    btClear->setAutoRaise(true);
    btGo = new QPushButton(this);
    btGo->setObjectName(QStringLiteral("btGo"));
    btGo->setDefault(true); // a code typed and Enter issues, as the button does

    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new QueryModel(Query, DBGrid1);
    m_model->setColumns({{QStringLiteral("ID_User"), {}, {}},
                         {QStringLiteral("FIO"), {}, {}},
                         {QStringLiteral("Phone"), {}, {}},
                         {QStringLiteral("Organization"), {}, {}},
                         {QStringLiteral("Otdel"), {}, {}},
                         {QStringLiteral("Shef_FIO"), {}, {}},
                         {QStringLiteral("Shef_Phone"), {}, {}}});
    DBGrid1->setQueryModel(m_model);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->horizontalHeader()->setSectionsClickable(false);
    const int widths[] = {120, 200, 120, 150, 150, 150, 120};
    for (int i = 0; i < 7; ++i)
        DBGrid1->setColumnWidth(i, widths[i]);

    auto* top = new QHBoxLayout;
    top->addWidget(edID, 1);
    top->addWidget(btClear);
    top->addStretch(2);
    top->addWidget(btGo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    setTabOrder(edID, btClear);
    setTabOrder(btClear, btGo);
    setTabOrder(btGo, DBGrid1);

    connect(btClear, &QToolButton::clicked, this, &TfmHend::btClearClick);
    connect(btGo, &QPushButton::clicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { btGoClick(); }); });
    // A row chosen by mouse or by keyboard names the recipient; the row that a
    // (re)load makes current does not.
    connect(DBGrid1, &QAbstractItemView::clicked, this, &TfmHend::DBGrid1CellClick);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_loading)
            DBGrid1CellClick();
    });
}

void TfmHend::FormCreate()
{
    reloadList();
}

void TfmHend::execute()
{
    runGuarded(m_platform.dialogs, this, [this] { FormShow(); });
    edID->setFocus();
    m_platform.dialogs.showModal(*this);
}

void TfmHend::FormShow()
{
    reloadList();
}

void TfmHend::reloadList()
{
    m_loading = true;
    try {
        Query.close();
        Query.open();
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
}

void TfmHend::DBGrid1CellClick()
{
    if (Query.isOpen() && !Query.isEmpty() && Query.recNo() >= 0)
        edID->setText(Query.text(QStringLiteral("ID_User")));
}

void TfmHend::btClearClick()
{
    edID->clear();
}

void TfmHend::btGoClick()
{
    if (!Query.isOpen() || Query.isEmpty())
        return;
    TfmMain& main = *m_forms.main;
    TfmCard_T& card = *m_forms.cardT;
    const Messages& t = *m_forms.texts;

    main.qSearch_U.setSql(QStringLiteral("SELECT * FROM Users WHERE ID_User=?"), {edID->text()});
    main.qSearch_U.open();
    main.qSearch_T.setSql(QStringLiteral("SELECT * FROM Tools WHERE (ID_Tool=?) AND (WriteOff<>%1)")
                              .arg(main.connection().dialect().sqlTrue()),
                          {card.ID_ForHend});
    main.qSearch_T.open();
    if (main.qSearch_T.isEmpty() || main.qSearch_U.isEmpty()) {
        m_platform.dialogs.message(this, t.rsUserIDNotFound);
        return;
    }
    if (!main.qSearch_T.boolean(QStringLiteral("Passed"))) {
        // Issued at another desk since the card opened: recording now would
        // take it back from its holder instead of issuing it.
        m_platform.dialogs.message(this, t.rsIssuedToOther);
        card.reloadJournal();
        card.showToolState(false);
        accept();
        return;
    }

    main.AddToHistory();
    card.reloadJournal(); // also shows its times as hh:mm:ss
    m_platform.dialogs.message(this, t.rsManualIssueDone);
    card.btReturn->setEnabled(true);
    card.btHend->setEnabled(false);
    accept();
}

void TfmHend::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    edID->setAccessibleName(edID->placeholderText());
    btClear->setAccessibleName(btClear->toolTip());
    DBGrid1->setAccessibleName(windowTitle());
}

QList<Localization::Text> manualIssueTexts()
{
    using P = Localization::Property;
    return {
        {"TfmHend", "", P::Title, 0, "Ручная выдача инструмента", "Manual tool issue"},
        {"TfmHend", "edID", P::Hint, 0, "Введите ID получателя", "Enter user ID"},
        {"TfmHend", "btClear", P::ToolTip, 0, "Очистить", "Clear"},
        {"TfmHend", "btGo", P::Caption, 0, "Выдать", "Issue"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 0, "ID", "ID"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 1, "ФИО", "Name"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 2, "Телефон", "Phone"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 3, "Организация", "Company"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 4, "Отдел", "Department"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 5, "ФИО руководителя", "Supervisot"},
        {"TfmHend", "DBGrid1", P::ColumnTitle, 6, "Тел. руководителя", "Supervisor phone"},
    };
}
