#include "TfmImport.h"

#include "EditorPhotos.h"
#include "ImportRowsModel.h"
#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/DbError.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "import/ImportWriter.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DialogButtons.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/ProgressWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

TfmImport::TfmImport(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_navigator(navigator)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmImport"));
    setModal(true);
    resize(900, 600);
    edFile = named(new QLineEdit(this), "edFile");
    edFile->setReadOnly(true);
    lbFile = named(new QLabel(this), "lbFile");
    lbFile->setBuddy(edFile);
    btFile = named(new QPushButton(this), "btFile");
    cbUpdate = named(new QCheckBox(this), "cbUpdate");
    edPhotos = named(new QLineEdit(this), "edPhotos");
    lbPhotos = named(new QLabel(this), "lbPhotos");
    lbPhotos->setBuddy(edPhotos);
    btPhotos = named(new QPushButton(this), "btPhotos");
    pnColumns = named(new QWidget(this), "pnColumns");
    m_columnsLayout = new QGridLayout(pnColumns);
    auto* columnsArea = new QScrollArea(this);
    columnsArea->setWidget(pnColumns);
    columnsArea->setWidgetResizable(true);
    columnsArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    columnsArea->setFixedHeight(80);
    lbColumns = named(new QLabel(this), "lbColumns");
    lbColumns->setBuddy(pnColumns);
    gridRows = named(new QTableView(this), "gridRows");
    lbRows = named(new QLabel(this), "lbRows");
    lbRows->setBuddy(gridRows);
    m_rows = new ImportRowsModel(this);
    gridRows->setModel(m_rows);
    gridRows->verticalHeader()->hide();
    gridRows->horizontalHeader()->setStretchLastSection(true);
    gridRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridRows->setWordWrap(false);
    lbSummary = named(new QLabel(this), "lbSummary");
    lbSummary->setWordWrap(true);
    lbSummary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(lbFile);
    fileRow->addWidget(edFile, 1);
    fileRow->addWidget(btFile);
    auto* photoRow = new QHBoxLayout;
    photoRow->addWidget(lbPhotos);
    photoRow->addWidget(edPhotos, 1);
    photoRow->addWidget(btPhotos);
    auto* body = new QVBoxLayout;
    body->addLayout(fileRow);
    body->addWidget(cbUpdate);
    body->addLayout(photoRow);
    body->addWidget(lbColumns);
    body->addWidget(columnsArea);
    body->addWidget(lbRows);
    body->addWidget(gridRows, 1);
    body->addWidget(lbSummary);
    const DialogButtons buttons = layOutWithOkCancel(this, body, "btCancel");
    btImport = buttons.ok;
    btImport->setObjectName(QStringLiteral("btImport"));
    btCancel = buttons.cancel;

    Dialogs& d = m_platform.dialogs;
    guardedConnect(btFile, &QPushButton::clicked, this, d, [this] { btFileClick(); });
    guardedConnect(btPhotos, &QPushButton::clicked, this, d, [this] { btPhotosClick(); });
    guardedConnect(btImport, &QPushButton::clicked, this, d, [this] { btImportClick(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    guardedConnect(cbUpdate, &QCheckBox::toggled, this, d, [this] { replan(); });
    guardedConnect(edPhotos, &QLineEdit::editingFinished, this, d, [this] { replan(); });
}

void TfmImport::execute(ImportKind kind)
{
    m_kind = kind;
    const Messages& texts = m_session.texts();
    setWindowTitle(kind == ImportKind::Tools ? texts.rsImportTitleTools : texts.rsImportTitleRecipients);
    clear();
    m_platform.dialogs.showModal(*this);
}

void TfmImport::clear()
{
    m_table = {};
    m_match.clear();
    m_plan = {};
    m_filling = true;
    edFile->clear();
    cbUpdate->setChecked(false);
    m_filling = false;
    buildColumnChoices();
    m_rows->show(nullptr, nullptr, nullptr, {});
    lbSummary->clear();
    btImport->setEnabled(false);
}

void TfmImport::btFileClick()
{
    const QString path = m_platform.dialogs.openPicture(this, m_session.texts().rsImportSpreadsheets,
                                                        QFileInfo(edFile->text()).path());
    if (!path.isEmpty())
        openFile(path);
}

void TfmImport::openFile(const QString& path)
{
    try {
        m_table = readImportFile(path, m_session.texts());
    } catch (const ImportError& e) {
        m_platform.dialogs.error(this, e.text());
        return;
    }
    edFile->setText(path);
    m_match = matchColumns(m_kind, m_table.headings);
    buildColumnChoices();
    replan();
}

void TfmImport::btPhotosClick()
{
    const QString picture = m_platform.dialogs.openPicture(
        this, m_session.texts().rsPictureFiles + QStringLiteral(" (*.jpg *.jpeg *.bmp)"), edPhotos->text());
    if (picture.isEmpty())
        return;
    edPhotos->setText(QFileInfo(picture).absolutePath());
    replan();
}

void TfmImport::buildColumnChoices()
{
    for (QComboBox* box : std::as_const(m_columnBoxes))
        delete box;
    m_columnBoxes.clear();
    while (QLayoutItem* item = m_columnsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const bool russian = m_session.russian();
    const QList<ImportField>& fields = importFields(m_kind);
    for (int c = 0; c < m_table.headings.size(); ++c) {
        auto* box = new QComboBox(pnColumns);
        box->setObjectName(QStringLiteral("cbColumn%1").arg(c + 1));
        box->addItem(m_session.texts().rsImportColumnIgnored, -1);
        for (int f = 0; f < fields.size(); ++f)
            box->addItem(fields.at(f).caption(russian), f);
        box->setCurrentIndex(box->findData(m_match.value(c, -1)));
        const QString heading = m_table.headings.at(c);
        auto* label = new QLabel(heading.isEmpty() ? QStringLiteral("%1").arg(c + 1) : heading, pnColumns);
        label->setBuddy(box);
        box->setAccessibleName(label->text());
        m_columnsLayout->addWidget(label, 0, c);
        m_columnsLayout->addWidget(box, 1, c);
        // Added after the panel was first laid out: shown by hand.
        label->show();
        box->show();
        m_columnBoxes << box;
        guardedConnect(box, &QComboBox::activated, this, m_platform.dialogs, [this, c, box] {
            // A field takes one column: the column that had it is ignored now.
            const int field = box->currentData().toInt();
            for (int other = 0; other < m_match.size(); ++other) {
                if (other != c && field >= 0 && m_match.at(other) == field) {
                    m_match[other] = -1;
                    m_columnBoxes.at(other)->setCurrentIndex(0);
                }
            }
            m_match[c] = field;
            replan();
        });
    }
}

ImportRequest TfmImport::request() const
{
    ImportRequest r;
    r.kind = m_kind;
    r.table = m_table;
    r.match = m_match;
    r.update = cbUpdate->isChecked();
    r.photoFolder = edPhotos->text().trimmed();
    r.placePrefix = m_session.settings().placeLabelPrefix();
    r.russian = m_session.russian();
    return r;
}

void TfmImport::replan()
{
    if (m_filling || edFile->text().isEmpty())
        return;
    const Messages& texts = m_session.texts();
    ImportPlan plan;
    {
        ProgressWindow progress(this, windowTitle());
        plan = ImportPlan::make(m_session.connection(), request(), texts, progress);
    }
    if (plan.cancelled())
        return; // the last verdicts stay shown
    m_plan = plan;
    QStringList captions{QStringLiteral("№"), importFields(m_kind).first().caption(m_session.russian()),
                         m_session.russian() ? QStringLiteral("Результат") : QStringLiteral("Verdict")};
    for (int c = 0; c < m_table.headings.size(); ++c)
        captions << (m_match.value(c, -1) < 0 ? m_table.headings.at(c) + u' ' + texts.rsImportColumnIgnored
                                              : m_table.headings.at(c));
    m_rows->show(&m_table, &m_plan, &texts, captions);
    // The verdict is what the user reads first: whole, however long.
    for (int c : {0, 1, 2})
        gridRows->resizeColumnToContents(c);
    QStringList summary{QStringLiteral("%1: %2, %3: %4, %5: %6, %7: %8")
                            .arg(texts.rsImportNew)
                            .arg(m_plan.count(RowVerdict::New))
                            .arg(texts.rsImportUpdate)
                            .arg(m_plan.count(RowVerdict::Update))
                            .arg(texts.rsImportSkip.section(u':', 0, 0))
                            .arg(m_plan.count(RowVerdict::Skip))
                            .arg(texts.rsImportRefused)
                            .arg(m_plan.count(RowVerdict::Refused))};
    const QStringList entries = m_plan.newPlaces + m_plan.newTypes + m_plan.newNames;
    if (!entries.isEmpty())
        summary << texts.rsImportNewEntries.arg(entries.join(QStringLiteral(", ")));
    lbSummary->setText(summary.join(u'\n'));
    btImport->setEnabled(!m_plan.refused() && m_plan.count(RowVerdict::Skip) < m_plan.rows.size());
}

void TfmImport::btImportClick()
{
    const Messages& texts = m_session.texts();
    if (m_plan.rows.isEmpty() || m_plan.refused())
        return;
    ImportWriter writer(m_session.connection(), texts, editorPhotos(m_session.paths().data, m_session.russian()));
    ImportCounts counts;
    try {
        ProgressWindow progress(this, windowTitle());
        counts = writer.write(request(), m_plan, progress);
    } catch (const ImportError& e) {
        m_platform.dialogs.error(this, texts.rsImportNotWritten.arg(e.text()));
        replan();
        return;
    } catch (const DbError& e) {
        m_platform.dialogs.error(this, texts.rsImportNotWritten.arg(e.text()));
        return;
    }
    if (m_kind == ImportKind::Tools) {
        m_navigator.notifyToolsChanged();
        if (!m_plan.newPlaces.isEmpty())
            m_navigator.notifyDictionaryChanged(DictionaryKind::Mesto);
        if (!m_plan.newTypes.isEmpty())
            m_navigator.notifyDictionaryChanged(DictionaryKind::Types);
        if (!m_plan.newNames.isEmpty())
            m_navigator.notifyDictionaryChanged(DictionaryKind::Naim);
    } else {
        m_navigator.notifyRecipientsChanged();
    }
    QString done = texts.rsImportDone.arg(counts.added).arg(counts.updated).arg(counts.skipped);
    for (const QString& failure : writer.pictureFailures())
        done += u'\n' + texts.rsImportPictureNotKept.arg(failure);
    m_platform.dialogs.message(this, done);
    accept();
}

QList<Localization::Text> importTexts()
{
    using P = Localization::Property;
    return {
        {"TfmImport", "lbFile", P::Caption, 0, "Файл", "File"},
        {"TfmImport", "btFile", P::Caption, 0, "Выбрать...", "Choose..."},
        {"TfmImport", "cbUpdate", P::Caption, 0, "Обновлять записи с теми же кодами (иначе пропускать)",
         "Update the records with the same codes (otherwise skip them)"},
        {"TfmImport", "lbPhotos", P::Caption, 0, "Папка фото (файлы по кодам: T001.jpg)",
         "Photo folder (files named by code: T001.jpg)"},
        {"TfmImport", "btPhotos", P::Caption, 0, "Выбрать...", "Choose..."},
        {"TfmImport", "btPhotos", P::ToolTip, 0, "Выберите любое фото в папке", "Choose any photo in the folder"},
        {"TfmImport", "lbColumns", P::Caption, 0, "Столбцы файла и поля, в которые они записываются",
         "The file's columns and the fields they go into"},
        {"TfmImport", "lbRows", P::Caption, 0, "Строки файла и что с ними будет",
         "The file's rows and what becomes of them"},
        {"TfmImport", "btImport", P::Caption, 0, "Импортировать", "Import"},
        {"TfmImport", "btCancel", P::Caption, 0, "Закрыть", "Close"},
    };
}
