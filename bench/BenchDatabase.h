#pragma once

#include <QString>

struct BenchSizes {
    int recipients = 1000;
    int tools = 100000;
    int journal = 1000000;
};

// A program folder with a large database for the benchmarks: generated once
// (delivered Data folder, upgraded by one program start, then filled), kept
// as a pristine copy, and restored from that copy before every run so each
// run starts from the same rows.
class BenchDatabase
{
public:
    using Sizes = BenchSizes;

    explicit BenchDatabase(const QString& dir, Sizes sizes = Sizes());

    // Generates when absent, incomplete or asked to; then restores the
    // working database. False with a reason in error() when that failed.
    bool prepare(bool regenerate);

    bool generatedNow() const { return m_generatedNow; }
    double generationSeconds() const { return m_generationSeconds; }
    const QString& error() const { return m_error; }

    QString programFolder() const; // with a trailing separator
    QString dbPath() const;
    // A second copy of the same rows for the bare-engine baseline.
    QString baselinePath() const;

private:
    bool reusable();
    bool generate();
    bool copyDelivered();
    bool upgradeByProgramStart();
    bool fill();
    bool restore();
    QString markerPath() const;
    QString pristinePath() const;
    QString layoutLine() const;

    QString m_dir;
    Sizes m_sizes;
    bool m_generatedNow = false;
    double m_generationSeconds = 0;
    QString m_error;
};
