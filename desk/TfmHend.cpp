#include "TfmHend.h"

#include "core/DeskSelection.h"
#include "core/Session.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/StandardIcon.h"

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

TfmHend::TfmHend(Session& session, Platform& platform, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , Query(session.connection())
    , m_session(session)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmHend"));
    setModal(true);
    setFixedSize(1073, 542);
    Query.setStatement(Select(col::Users::Table));

    edID = named(new QLineEdit(this), "edID");
    edID->setMaxLength(kCodeLength);
    btClear = named(new QToolButton(this), "btClear");
    setStandardIcon(btClear, QStyle::SP_LineEditClearButton);
    btClear->setAutoRaise(true);
    btGo = named(new QPushButton(this), "btGo");
    btGo->setDefault(true); // a code typed and Enter issues, as the button does

    m_recipientGrid = named(new DbGrid(this), "DBGrid1");
    m_model = new QueryModel(Query, m_recipientGrid);
    m_model->setColumns({{col::Users::ID_User, {}, {}},
                         {col::Users::FIO, {}, {}},
                         {col::Users::Phone, {}, {}},
                         {col::Users::Organization, {}, {}},
                         {col::Users::Otdel, {}, {}},
                         {col::Users::Shef_FIO, {}, {}},
                         {col::Users::Shef_Phone, {}, {}}});
    m_recipientGrid->setQueryModel(m_model);
    m_recipientGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_recipientGrid->horizontalHeader()->setSectionsClickable(false);
    const int widths[] = {120, 200, 120, 150, 150, 150, 120};
    for (int i = 0; i < 7; ++i)
        m_recipientGrid->setColumnWidth(i, widths[i]);

    auto* top = new QHBoxLayout;
    top->addWidget(edID, 1);
    top->addWidget(btClear);
    top->addStretch(2);
    top->addWidget(btGo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_recipientGrid, 1);
    setTabOrder(edID, btClear);
    setTabOrder(btClear, btGo);
    setTabOrder(btGo, m_recipientGrid);

    connect(btClear, &QToolButton::clicked, this, &TfmHend::btClearClick);
    guardedConnect(btGo, &QPushButton::clicked, this, m_platform.dialogs, [this] { btGoClick(); });
    reportErrorsOf(m_recipientGrid, &DbGrid::databaseError, this, m_platform.dialogs);
    // A row chosen by mouse or by keyboard names the recipient; the row that a
    // (re)load makes current does not.
    connect(m_recipientGrid, &QAbstractItemView::clicked, this, &TfmHend::DBGrid1CellClick);
    connect(m_recipientGrid, &DbGrid::currentRowChanged, this, [this] {
        if (!m_loading)
            DBGrid1CellClick();
    });
}

void TfmHend::FormCreate()
{
    reloadList();
}

void TfmHend::execute(const QString& code)
{
    toolCode = code;
    btClearClick();
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
    // No row looks chosen before one is: the box is empty.
    m_recipientGrid->clearCurrentRow();
    m_loading = false;
}

bool TfmHend::toolWrittenOff() const
{
    Connection& db = m_session.connection();
    const SqlDialect& d = db.dialect();
    const QString where = d.caselessEquals(col::Tools::ID_Tool, toolCode);
    return db.exists(Select(col::Tools::Table)
                         .columns({col::Key})
                         .where(where, {toolCode})
                         .where(col::Tools::WriteOff + QStringLiteral(" = ") + d.sqlTrue()));
}

void TfmHend::DBGrid1CellClick()
{
    if (Query.isOpen() && !Query.isEmpty() && Query.recNo() >= 0)
        edID->setText(Query.text(col::Users::ID_User));
}

void TfmHend::btClearClick()
{
    edID->clear();
}

void TfmHend::btGoClick()
{
    if (!Query.isOpen() || Query.isEmpty())
        return;
    DeskSelection& desk = m_session.desk();
    const Messages& t = m_session.texts();
    desk.selectRecipient(edID->text());
    desk.selectTool(toolCode);
    if (!desk.toolSelected()) {
        // Written off since the card opened: the desk no longer issues it.
        m_platform.dialogs.message(this, toolWrittenOff() ? t.rsToolWrittenOff : t.rsUserIDNotFound);
        return;
    }
    if (!desk.recipientSelected()) {
        m_platform.dialogs.message(this, t.rsUserIDNotFound);
        return;
    }
    if (!desk.qSearch_T.boolean(col::Tools::Passed)) {
        // Issued at another desk since the card opened: recording now would
        // take it back from its holder instead of issuing it.
        m_platform.dialogs.message(this, t.rsIssuedToOther);
        accept();
        return;
    }
    if (desk.record(m_platform.clock.now()) == EventRecorder::Result::RefusedHolder) {
        m_platform.dialogs.message(this, t.rsIssuedToOther);
        return;
    }
    m_platform.dialogs.message(this, t.rsManualIssueDone);
    accept();
}

void TfmHend::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    edID->setAccessibleName(edID->placeholderText());
    btClear->setAccessibleName(btClear->toolTip());
    m_recipientGrid->setAccessibleName(windowTitle());
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
