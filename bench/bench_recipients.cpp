// Recipient register figures: the list page brought up and narrowed by name
// over 10,000 recipients, and the card of a recipient with 1,000 journal
// rows. Prints medians; exits non-zero only when something broke.
#include "BenchPlatform.h"
#include "app/Application.h"
#include "core/Session.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "recipients/TfmCard_U.h"
#include "recipients/TfmUsers.h"
#include "widgets/DbGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRecipients = 10000;
constexpr int kJournalRows = 1000;
constexpr int kToolsOnHand = 25;
constexpr int kRuns = 20;
constexpr double kTargetMs = 100;

const char* const kSurnames[] = {"Иванов",  "Петров",   "Сидоров", "Смирнов", "Кузнецов", "Попов",   "Васильев",
                                 "Соколов", "Михайлов", "Новиков", "Фёдоров", "Морозов",  "Волков",  "Алексеев",
                                 "Лебедев", "Семёнов",  "Егоров",  "Павлов",  "Козлов",   "Степанов"};

double since(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

bool copyDelivered(const QString& folder)
{
    const QDir delivered(QStringLiteral(TOOLDESK_DELIVERED_DATA));
    QDir().mkpath(folder + QStringLiteral("Data"));
    for (const QString& name : delivered.entryList(QDir::Files)) {
        if (!QFile::copy(delivered.filePath(name), folder + QStringLiteral("Data/") + name))
            return false;
    }
    return true;
}

// Recipient 1 ("U00001", an Иванов) holds kToolsOnHand tools and has
// kJournalRows journal rows; every recipient has a photo-less row.
void fill(Connection& db)
{
    Connection::Transaction transaction(db);
    for (int i = 1; i <= kRecipients; ++i) {
        const QString name = QString::fromUtf8(kSurnames[(i - 1) % 20]) + QStringLiteral(" И.%1").arg(i);
        db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO, Phone, Organization, Otdel) VALUES (?,?,?,?,?)"),
                {QStringLiteral("U%1").arg(i, 5, 10, QLatin1Char('0')), name, QStringLiteral("+7 900 %1").arg(i),
                 QStringLiteral("Цех %1").arg(i % 7), QStringLiteral("Отдел %1").arg(i % 13)});
    }
    for (int i = 1; i <= kToolsOnHand; ++i) {
        const QString code = QStringLiteral("T%1").arg(i, 4, 10, QLatin1Char('0'));
        db.exec(
            QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, Model, Price, "
                           "Passed, OwnerID) VALUES (?,?,?,?,?,?,0,'1')"),
            {code, code, QStringLiteral("Дрель"), QStringLiteral("Bosch"), QStringLiteral("GSB %1").arg(i), 100.5 * i});
    }
    for (int i = 0; i < kJournalRows; ++i) {
        const QString tool = QStringLiteral("T%1").arg(i % kToolsOnHand + 1, 4, 10, QLatin1Char('0'));
        db.exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, Note, FIO, IType, Model, "
                               "Organization, State) VALUES ('U00001',?,?,'10:00:00',?,'',?,'Дрель','Bosch GSB',"
                               "'Цех 1','новый')"),
                {tool, QDate(2020, 1, 1).addDays(i).toString(Qt::ISODate),
                 i % 2 ? QStringLiteral("Сдан") : QStringLiteral("Выдан"), QStringLiteral("Иванов И.1")});
    }
    transaction.commit();
}

} // namespace

int main(int argc, char** argv)
{
    // Measured without a display, as written in the README, unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/");
    if (!dir.isValid() || !copyDelivered(folder)) {
        std::fprintf(stderr, "cannot copy the delivered Data folder\n");
        return 1;
    }
    BenchPlatform seams;
    Application application(folder, seams.platform);
    application.setTimersEnabled(false);
    if (!application.start()) {
        std::fprintf(stderr, "the program did not start: %s\n", qPrintable(seams.shown()));
        return 1;
    }
    fill(application.session().connection());
    application.show();

    auto& users = *static_cast<TfmUsers*>(application.window(QStringLiteral("TfmUsers")));
    auto* nameBox = users.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    auto* search = users.findChild<QPushButton*>(QStringLiteral("btSearch"));
    auto* grid = users.findChild<DbGrid*>(QStringLiteral("DBGrid1"));
    auto& card = *static_cast<TfmCard_U*>(application.window(QStringLiteral("TfmCard_U")));
    auto* journal = card.findChild<DbGrid*>(QStringLiteral("DBGrid1"));
    Query& qUsers = application.session().qUsers;

    std::vector<double> openMs, narrowMs, missMs, cardMs;
    int listed = 0, narrowed = 0, journalRows = 0;
    for (int i = 0; i < kRuns; ++i) {
        application.main()->Panel4Click();
        nameBox->clear();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        application.showRecipientList();
        search->click();
        grid->viewport()->repaint();
        openMs.push_back(since(t));
        listed = qUsers.recordCount();

        qUsers.first(); // U00001, the one with the journal
        t.restart();
        card.loadCurrentRecipient();
        card.FormShow();
        card.show();
        journal->viewport()->repaint();
        cardMs.push_back(since(t));
        journalRows = card.q.recordCount();
        card.hide();

        nameBox->setText(QStringLiteral("сидоров"));
        QCoreApplication::processEvents();
        t.restart();
        search->click();
        grid->viewport()->repaint();
        narrowMs.push_back(since(t));
        narrowed = qUsers.recordCount();

        // A name nobody has: every row is read and compared.
        nameBox->setText(QStringLiteral("Щукин"));
        QCoreApplication::processEvents();
        t.restart();
        search->click();
        grid->viewport()->repaint();
        missMs.push_back(since(t));
    }
    if (narrowed != kRecipients / 20 || journalRows != kJournalRows) {
        std::fprintf(stderr, "unexpected rows: %d narrowed, %d journal rows\n", narrowed, journalRows);
        return 1;
    }
    const auto line = [](const char* what, double ms) {
        std::printf("%-62s %8.2f ms  (target < %.0f ms: %s)\n", what, ms, kTargetMs, ms < kTargetMs ? "PASS" : "FAIL");
    };
    std::printf("recipients %d, journal rows of the card's recipient %d, runs %d (medians)\n", listed, journalRows,
                kRuns);
    line("recipient list brought up, empty search texts", median(openMs));
    line("recipient list narrowed by name (500 of 10,000)", median(narrowMs));
    line("recipient list narrowed to a name nobody has (every row read)", median(missMs));
    line("recipient card opened (1,000 journal rows, 25 tools on hand)", median(cardMs));
    return 0;
}
