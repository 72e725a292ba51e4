#pragma once
// The findings of kvet-check, one a line, in the order they were found. The
// person who installs the display reads them; the exit code says whether all
// is well (no warning, no error).
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kvet::check {

enum class Verdict {
    Info,    // what was read or found, neither good nor bad
    Ok,      // a step that works as the dashboard needs it
    Hint,    // what to look at after a failure; never a fault of its own
    Warning, // works, but not as it should (a view the dashboard will create, an empty password)
    Error,   // the dashboard will not work as it is
};

struct Finding {
    Verdict verdict = Verdict::Info;
    QString text;
    // Lines printed below the finding, indented (a statement to run by hand).
    QStringList detail;
};

// "[正常]" and so on.
QString verdictTag(Verdict verdict);

// The finding's line, then each detail line indented; lines end in '\n'.
QString formatFinding(const Finding& finding);

class Report {
public:
    // Called with each finding as it is added, so that a slow step (a login
    // that waits for its time-out) does not hold back what is known already.
    void setSink(std::function<void(const Finding&)> sink) { sink_ = std::move(sink); }

    void add(Verdict verdict, const QString& text, const QStringList& detail = {});
    void info(const QString& text) { add(Verdict::Info, text); }
    void ok(const QString& text) { add(Verdict::Ok, text); }
    void hint(const QString& text) { add(Verdict::Hint, text); }
    void warning(const QString& text, const QStringList& detail = {}) { add(Verdict::Warning, text, detail); }
    void error(const QString& text, const QStringList& detail = {}) { add(Verdict::Error, text, detail); }

    const std::vector<Finding>& findings() const { return findings_; }
    int count(Verdict verdict) const;
    bool allWell() const { return count(Verdict::Warning) == 0 && count(Verdict::Error) == 0; }
    // 0 when all is well, 1 otherwise.
    int exitCode() const { return allWell() ? 0 : 1; }

    // The closing line: all well, or how many errors and warnings.
    Finding summary() const;

    // Every finding formatted, in order.
    QString text() const;

private:
    std::vector<Finding> findings_;
    std::function<void(const Finding&)> sink_;
};

} // namespace kvet::check
