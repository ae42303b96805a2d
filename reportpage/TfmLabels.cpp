#include "TfmLabels.h"

#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/FileWriteError.h"
#include "data/WorkCancelled.h"
#include "labels/LabelError.h"
#include "labels/LabelItems.h"
#include "labels/LabelLayouts.h"
#include "labels/LabelRun.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/WrittenFileOpener.h"
#include "reportengine/PrintModule.h"
#include "reportengine/ReportError.h"
#include "widgets/DialogButtons.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/ProgressWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// More copies of one label than a store would want is a typing slip.
constexpr int kMostCopies = 1000;

QLabel* caption(QWidget* parent, const char* name, QWidget* buddy)
{
    auto* label = named(new QLabel(parent), name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TfmLabels::TfmLabels(Session& session, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmLabels"));
    setModal(true);
    cbLayout = named(new QComboBox(this), "cbLayout");
    cbSymbol = named(new QComboBox(this), "cbSymbol");
    for (const LabelSymbol symbol : {LabelSymbol::Code128, LabelSymbol::Qr, LabelSymbol::DataMatrix})
        cbSymbol->addItem(labelSymbolTitle(symbol), static_cast<int>(symbol));
    seCopies = named(new QSpinBox(this), "seCopies");
    seCopies->setRange(1, kMostCopies);
    seSkip = named(new QSpinBox(this), "seSkip");
    rbChosen = named(new QRadioButton(this), "rbChosen");
    rbListed = named(new QRadioButton(this), "rbListed");
    rbCodes = named(new QRadioButton(this), "rbCodes");
    auto* which = new QButtonGroup(this);
    for (QRadioButton* b : {rbChosen, rbListed, rbCodes})
        which->addButton(b);
    edCodes = named(new QLineEdit(this), "edCodes");
    lbScale = named(new QLabel(this), "lbScale");
    lbScale->setWordWrap(true);
    btPreview = named(new QPushButton(this), "btPreview");

    auto* form = new QFormLayout;
    form->addRow(caption(this, "lbLayout", cbLayout), cbLayout);
    form->addRow(caption(this, "lbSymbol", cbSymbol), cbSymbol);
    form->addRow(caption(this, "lbCopies", seCopies), seCopies);
    form->addRow(caption(this, "lbSkip", seSkip), seSkip);
    auto* body = new QVBoxLayout;
    body->addLayout(form);
    body->addWidget(rbChosen);
    body->addWidget(rbListed);
    body->addWidget(rbCodes);
    auto* typed = new QHBoxLayout;
    lbCodes = caption(this, "lbCodes", edCodes);
    typed->addWidget(lbCodes);
    typed->addWidget(edCodes, 1);
    body->addLayout(typed);
    body->addWidget(lbScale);
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(btPreview);
    previewRow->addStretch(1);
    body->addLayout(previewRow);
    const DialogButtons buttons = layOutWithOkCancel(this, body, "btCancel");

    Dialogs& d = m_platform.dialogs;
    guardedConnect(buttons.ok, &QPushButton::clicked, this, d, [this] { btOKClick(); });
    guardedConnect(btPreview, &QPushButton::clicked, this, d, [this] { btPreviewClick(); });
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbLayout, &QComboBox::currentIndexChanged, this, &TfmLabels::layoutChanged);
    connect(rbCodes, &QRadioButton::toggled, edCodes, &QLineEdit::setEnabled);
    // Typing codes means printing them.
    connect(edCodes, &QLineEdit::textEdited, rbCodes, [this] { rbCodes->setChecked(true); });
}

void TfmLabels::execute(LabelKind kind, const QString& chosen, const std::function<QStringList()>& listed)
{
    try {
        // Read on each opening: the site's file may have been mended meanwhile.
        m_layouts = LabelLayouts::all(m_session.paths().data, m_session.texts());
    } catch (const LabelError& e) {
        m_platform.dialogs.error(this, e.text());
        return;
    }
    m_kind = kind;
    m_chosen = chosen;
    m_listed = listed;
    m_written.clear();
    const QString previous = cbLayout->currentText();
    cbLayout->clear();
    for (const LabelLayout& l : m_layouts)
        cbLayout->addItem(l.name);
    const int kept = cbLayout->findText(previous.isEmpty() ? LabelLayouts::defaultName() : previous);
    cbLayout->setCurrentIndex(kept >= 0 ? kept : 0);
    layoutChanged();
    // A card prints its own row; a register may print its list or typed codes.
    rbListed->setVisible(bool(listed));
    rbCodes->setVisible(bool(listed));
    edCodes->setVisible(bool(listed));
    lbCodes->setVisible(bool(listed));
    // The layout and symbol stay, as the site's sheets and scanners do; copies
    // and the used labels of a partly used sheet are of one printing only.
    seCopies->setValue(1);
    seSkip->setValue(0);
    rbChosen->setChecked(true);
    rbChosen->setEnabled(!chosen.isEmpty());
    if (chosen.isEmpty() && listed)
        rbListed->setChecked(true);
    edCodes->setEnabled(rbCodes->isChecked());
    m_platform.dialogs.showModal(*this);
}

void TfmLabels::layoutChanged()
{
    const int i = cbLayout->currentIndex();
    if (i < 0 || i >= m_layouts.size())
        return;
    // A partly used sheet: any label of the first one but not all of them.
    seSkip->setRange(0, m_layouts.at(i).perPage() - 1);
}

std::optional<QStringList> TfmLabels::codes()
{
    const Messages& t = m_session.texts();
    if (rbChosen->isChecked()) {
        if (m_chosen.isEmpty()) {
            m_platform.dialogs.message(this, t.rsLabelsNoneChosen);
            return std::nullopt;
        }
        return QStringList{m_chosen};
    }
    QStringList found;
    if (rbListed->isChecked()) {
        found = m_listed();
    } else {
        for (const QString& code : edCodes->text().split(u','))
            if (!code.trimmed().isEmpty())
                found << code.trimmed();
        if (found.isEmpty()) {
            m_platform.dialogs.message(this, t.rsLabelsNoCodesTyped);
            return std::nullopt;
        }
    }
    // No codes would mean every row to the label run: an empty list prints nothing.
    if (found.isEmpty()) {
        m_platform.dialogs.message(this, t.rsLabelNothing);
        return std::nullopt;
    }
    return found;
}

std::shared_ptr<const LabelRun> TfmLabels::prepare()
{
    const Messages& t = m_session.texts();
    const auto chosenCodes = codes();
    if (!chosenCodes)
        return nullptr;
    try {
        Connection& db = m_session.connection();
        QList<LabelItem> items;
        if (m_kind == LabelKind::Tools)
            items = LabelItems::tools(db, *chosenCodes, t);
        else if (m_kind == LabelKind::Recipients)
            items = LabelItems::recipients(db, *chosenCodes, t);
        else
            items = LabelItems::places(db, m_session.settings().placeLabelPrefix(), *chosenCodes, t);
        LabelRequest request;
        request.layout = m_layouts.at(cbLayout->currentIndex());
        request.symbol = static_cast<LabelSymbol>(cbSymbol->currentData().toInt());
        request.skip = seSkip->value();
        request.copies = seCopies->value();
        const Settings& settings = m_session.settings();
        request.offset = QPointF(settings.labelOffsetRight(), settings.labelOffsetDown());
        // Every code is encoded and fitted here, before any page exists.
        return std::make_shared<const LabelRun>(items, request, t);
    } catch (const LabelError& e) {
        // The window stays open with the choices made, to change the symbol or the codes.
        m_platform.dialogs.error(this, e.text());
        return nullptr;
    }
}

void TfmLabels::btOKClick()
{
    const std::shared_ptr<const LabelRun> run = prepare();
    if (!run)
        return;
    const Messages& t = m_session.texts();
    const QString file = ReportFileName::inReports(m_session.paths().folder, t.rsLabelsFileName, m_platform.clock.now(),
                                                   QStringLiteral(".pdf"));
    try {
        QDir().mkpath(QFileInfo(file).absolutePath());
        ProgressWindow progress(this, t.rsProgressWriting.arg(QFileInfo(file).fileName()));
        run->writePdf(file, &progress);
    } catch (const WorkCancelled&) {
        return; // the window stays, nothing written
    } catch (const FileWriteError& e) {
        m_platform.dialogs.error(this, fileWriteFailureText(e, t.rsLabelsNotWritten, file, t));
        return;
    }
    m_written = file;
    accept();
    WrittenFileOpener(m_platform, {t.rsWrittenNotOpened, t.rsOpenFolder, t.rsFolderNotOpened})
        .open(parentWidget(), file);
}

void TfmLabels::btPreviewClick()
{
    const std::shared_ptr<const LabelRun> run = prepare();
    if (!run)
        return;
    const LabelLayout& layout = run->request().layout;
    PrintPreviewRequest request;
    request.title = m_session.texts().rsLabelsPreviewTitle.arg(layout.name);
    // The paper is the layout's page, painted from its corner: no scaling.
    request.layout = QPageLayout(QPageSize(layout.page, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                 QPageLayout::Portrait, QMarginsF());
    request.paint = [run](QPagedPaintDevice& printer) { return run->paint(printer); };
    std::unique_ptr<QDialog> preview;
    try {
        preview = PrintModule::makePreview(request, this);
    } catch (const ReportError& e) {
        m_platform.dialogs.error(this, e.text());
        return;
    }
    m_platform.dialogs.showModal(*preview);
}

QList<Localization::Text> labelsTexts()
{
    using P = Localization::Property;
    return {
        {"TfmLabels", "", P::Title, 0, "Этикетки", "Labels"},
        {"TfmLabels", "lbLayout", P::Caption, 0, "&Макет:", "&Layout:"},
        {"TfmLabels", "lbSymbol", P::Caption, 0, "&Символ:", "&Symbol:"},
        {"TfmLabels", "lbCopies", P::Caption, 0, "&Копий каждой:", "&Copies of each:"},
        {"TfmLabels", "lbSkip", P::Caption, 0, "&Пропустить на первом листе:", "S&kip on the first sheet:"},
        {"TfmLabels", "rbChosen", P::Caption, 0, "&Выбранная строка", "The c&hosen row"},
        {"TfmLabels", "rbListed", P::Caption, 0, "Все строки &списка", "Every row &listed"},
        {"TfmLabels", "rbCodes", P::Caption, 0, "&Введенные коды", "&Typed codes"},
        {"TfmLabels", "lbCodes", P::Caption, 0, "Ко&ды через запятую:", "C&odes, separated by commas:"},
        {"TfmLabels", "lbScale", P::Caption, 0,
         "Этикетки печатаются и записываются в PDF в точном размере. Печатайте в масштабе 100 % (\"реальный "
         "размер\"), не \"по размеру страницы\".",
         "The labels are printed and written as a PDF at exact size. Print at 100 % (\"actual size\"), never "
         "\"fit to page\"."},
        {"TfmLabels", "btPreview", P::Caption, 0, "&Просмотр и печать...", "&Preview and print..."},
        {"TfmLabels", "btOK", P::Caption, 0, "Записать PDF", "Write PDF"},
        {"TfmLabels", "btCancel", P::Caption, 0, "Отмена", "Cancel"},
    };
}
