#pragma once

#include "data/Query.h"

#include <QDialog>
#include <QList>

#include <functional>

class DbImage;
class DbText;
class Connection;
class QGridLayout;
class QLabel;
class QPushButton;
class QTabWidget;
struct Platform;

// A card: one record's photo and values, over two pages of lists about it.
// Modal; shown once it has loaded its record.
class RecordCard : public QDialog
{
    Q_OBJECT
public:
    // A value shown and the number of the label that captions it.
    struct Shown {
        QString field;
        int label;
    };

    // The record's journal, on the first page.
    Query q;

protected:
    RecordCard(Platform& platform, Connection& db, const char* name, QSize size, QWidget* parent);

    // The record's photo "DBImage1".
    void buildPhoto(Query& record, QSize size);
    // Each value "DBText<n>" bold and selectable, beside its caption
    // "Label<n>", in the order given.
    QGridLayout* buildValues(Query& record, const QList<Shown>& shown);
    // The pages "PageControl1" with "TabSheet1" and "TabSheet2".
    void buildPages();
    // Runs load guarded and shows the card modally when it went well.
    void showLoaded(const std::function<void()>& load);
    // A button that Enter on the card does not press.
    static QPushButton* button(QWidget* parent, const char* name);

    // The tabs show the pages' titles from the text sets, the values are
    // captioned by their labels; then the card's own captions.
    void changeEvent(QEvent* event) override;
    virtual void languageChanged() { }

    Platform& m_platform;
    DbImage* m_photo = nullptr;
    QList<QLabel*> m_captions; // by label number, Label1 first
    QList<DbText*> m_values;   // the value under each caption
    QTabWidget* m_pages = nullptr;
    QWidget* m_firstPage = nullptr;
    QWidget* m_secondPage = nullptr;
};
