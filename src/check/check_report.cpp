#include "check/check_report.h"

#include <algorithm>

namespace kvet::check {

QString verdictTag(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Info:
        return QStringLiteral("[信息]");
    case Verdict::Ok:
        return QStringLiteral("[正常]");
    case Verdict::Hint:
        return QStringLiteral("[提示]");
    case Verdict::Warning:
        return QStringLiteral("[警告]");
    case Verdict::Error:
        return QStringLiteral("[错误]");
    }
    return {};
}

QString formatFinding(const Finding& finding)
{
    // A database message may carry line breaks of its own; keep each finding
    // on its line and move the rest under it.
    QStringList lines = finding.text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line.remove(QLatin1Char('\r'));
    QString out = verdictTag(finding.verdict) + QLatin1Char(' ') + lines.takeFirst() + QLatin1Char('\n');
    lines += finding.detail;
    for (const QString& line : std::as_const(lines))
        out += QStringLiteral("        ") + line + QLatin1Char('\n');
    return out;
}

void Report::add(Verdict verdict, const QString& text, const QStringList& detail)
{
    findings_.push_back(Finding{verdict, text, detail});
    if (sink_)
        sink_(findings_.back());
}

int Report::count(Verdict verdict) const
{
    return int(std::count_if(findings_.begin(), findings_.end(),
                             [verdict](const Finding& f) { return f.verdict == verdict; }));
}

Finding Report::summary() const
{
    if (allWell())
        return {Verdict::Ok, QStringLiteral("检查完成：一切正常"), {}};
    const int errors = count(Verdict::Error);
    const int warnings = count(Verdict::Warning);
    QStringList parts;
    if (errors)
        parts << QStringLiteral("%1 个错误").arg(errors);
    if (warnings)
        parts << QStringLiteral("%1 个警告").arg(warnings);
    return {errors ? Verdict::Error : Verdict::Warning,
            QStringLiteral("检查完成：") + parts.join(QStringLiteral("，")), {}};
}

QString Report::text() const
{
    QString out;
    for (const Finding& f : findings_)
        out += formatFinding(f);
    return out;
}

} // namespace kvet::check
