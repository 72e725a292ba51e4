#include "check/check_views.h"

#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/field.h"
#include "data/query.h"


namespace kvet::check {
namespace {

// The query object the check's own catalogue questions run through.
const QString kCatalogQuery = QStringLiteral("kvet-check");

QString quotedViewNames(bool lowerCase)
{
    QStringList names;
    for (ReportingView v : kAllReportingViews)
        names << QLatin1Char('\'') + (lowerCase ? viewName(v).toLower() : viewName(v)) + QLatin1Char('\'');
    return names.join(QStringLiteral(", "));
}

struct Permission {
    bool known = false;
    bool allowed = false;
    QString missing; // what the login lacks
    QString user;    // the login's user in the database
};

Permission askPermission(Connection& connection, const ViewCatalog& catalog, Report& report)
{
    Permission p;
    if (catalog.createPermission.isEmpty()) {
        p.known = p.allowed = true;
        report.ok(QStringLiteral("可以在 dbo 中创建视图（演示数据库不分权限）"));
        return p;
    }
    try {
        Query q(kCatalogQuery, connection);
        q.setSql(catalog.createPermission);
        q.open();
        const Field createView = q.fieldByName(QStringLiteral("create_view"));
        const Field alterDbo = q.fieldByName(QStringLiteral("alter_dbo"));
        p.user = q.fieldByName(QStringLiteral("db_user")).asString();
        if (q.eof() || createView.isNull() || alterDbo.isNull()) {
            report.warning(QStringLiteral("无法判断登录名能否在 dbo 中创建视图（服务器没有回答）"));
            return p;
        }
        p.known = true;
        QStringList lacks;
        if (createView.asInteger() != 1)
            lacks << QStringLiteral("数据库的 CREATE VIEW 权限");
        if (alterDbo.asInteger() != 1)
            lacks << QStringLiteral("架构 dbo 的 ALTER 权限");
        p.allowed = lacks.isEmpty();
        p.missing = lacks.join(QStringLiteral("和"));
    } catch (const std::exception& e) {
        report.warning(QStringLiteral("无法判断登录名能否在 dbo 中创建视图：") + messageOf(e));
    }
    return p;
}

} // namespace

ViewCatalog sqlServerCatalog()
{
    ViewCatalog c;
    c.existingViews = QStringLiteral("SELECT name FROM sys.views WHERE schema_id = SCHEMA_ID('dbo') AND name IN (%1)")
                          .arg(quotedViewNames(false));
    // CREATE VIEW is a permission on the database (a NULL securable would ask
    // about the server, where it does not exist); the view also needs ALTER
    // on the schema it goes into.
    c.createPermission = QStringLiteral(
        "SELECT HAS_PERMS_BY_NAME(DB_NAME(), 'DATABASE', 'CREATE VIEW') AS create_view, "
        "HAS_PERMS_BY_NAME('dbo', 'SCHEMA', 'ALTER') AS alter_dbo, USER_NAME() AS db_user");
    c.serverFacts = QStringLiteral(
        "SELECT CAST(SERVERPROPERTY('ProductVersion') AS nvarchar(128)) AS version, "
        "CAST(SERVERPROPERTY('Edition') AS nvarchar(128)) AS edition, DB_NAME() AS db, "
        "CAST(DATABASEPROPERTYEX(DB_NAME(), 'Collation') AS nvarchar(128)) AS collation, "
        "CAST(COLLATIONPROPERTY(CAST(DATABASEPROPERTYEX(DB_NAME(), 'Collation') AS nvarchar(128)), 'CodePage') AS int) "
        "AS code_page");
    return c;
}

ViewCatalog demoCatalog()
{
    ViewCatalog c;
    // SQLite keeps names as written; the dashboard matches them without case.
    c.existingViews = QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view' AND lower(name) IN (%1)")
                          .arg(quotedViewNames(true));
    return c;
}

bool codePageHoldsChinese(int codePage)
{
    return codePage == 936 || codePage == 65001;
}

void checkServerFacts(Connection& connection, const ViewCatalog& catalog, Report& report)
{
    if (catalog.serverFacts.isEmpty())
        return;
    try {
        Query q(kCatalogQuery, connection);
        q.setSql(catalog.serverFacts);
        q.open();
        auto text = [&q](const char* column) { return q.fieldByName(QString::fromLatin1(column)).asString(); };
        report.info(QStringLiteral("SQL Server %1（%2），数据库 %3").arg(text("version"), text("edition"), text("db")));
        const QString collation = text("collation");
        const Field codePage = q.fieldByName(QStringLiteral("code_page"));
        if (collation.contains(QLatin1String("_CS"), Qt::CaseInsensitive))
            report.error(QStringLiteral("数据库排序规则 %1 区分大小写；仪表板的语句把 sf_yh 与 Sf_yh、cbch 与 CBCH "
                                        "当作同一个名字，在这个库里会失败").arg(collation));
        if (!codePage.isNull() && !codePageHoldsChinese(int(codePage.asInteger())))
            report.error(QStringLiteral("数据库排序规则 %1 的代码页 %2 容不下中文：语句里不带 N 前缀的中文常量"
                                        "（如“已录入”“建行渠道”）会变成问号；需要代码页 936 的排序规则（如 Chinese_PRC_CI_AS）")
                             .arg(collation, codePage.asString()));
        else
            report.info(QStringLiteral("数据库排序规则：") + collation);
    } catch (const std::exception& e) {
        report.warning(QStringLiteral("无法读取服务器版本和排序规则：") + messageOf(e));
    }
}

std::optional<QSet<ReportingView>> checkViews(Connection& connection, const ViewCatalog& catalog, bool createViews,
                                              Report& report)
{
    QSet<QString> existing;
    try {
        Query q(kCatalogQuery, connection);
        q.setSql(catalog.existingViews);
        q.open();
        for (; !q.eof(); q.next())
            existing.insert(q.fieldByName(QStringLiteral("name")).asString().toLower());
    } catch (const std::exception& e) {
        report.error(QStringLiteral("无法查询已有的视图：") + messageOf(e));
        return std::nullopt;
    }

    const Permission permission = askPermission(connection, catalog, report);
    if (permission.known && !permission.allowed)
        report.add(existing.size() == qsizetype(kAllReportingViews.size()) ? Verdict::Info : Verdict::Error,
                   QStringLiteral("登录名不能在 dbo 中创建视图：缺少%1").arg(permission.missing));
    else if (permission.known && !catalog.createPermission.isEmpty())
        report.ok(QStringLiteral("登录名可以在 dbo 中创建视图"));

    QSet<ReportingView> missing;
    for (ReportingView v : kAllReportingViews) {
        const QString name = viewName(v);
        if (existing.contains(name.toLower())) {
            report.ok(QStringLiteral("视图 %1 存在").arg(name));
            continue;
        }
        if (createViews) {
            try {
                Query q(kCatalogQuery, connection);
                q.setSql(viewDefinitionText(v));
                q.execSql();
                report.ok(QStringLiteral("已创建视图 %1").arg(name));
                continue;
            } catch (const std::exception& e) {
                report.error(QStringLiteral("创建视图 %1 失败：%2").arg(name, messageOf(e)), viewDefinitionLines(v));
                missing.insert(v);
                continue;
            }
        }
        missing.insert(v);
        if (permission.known && !permission.allowed)
            report.error(QStringLiteral("视图 %1 不存在，登录名也不能创建它；请有权限的人在这个数据库里执行：").arg(name),
                         viewDefinitionLines(v));
        else
            report.warning(QStringLiteral("视图 %1 不存在；kvet 第一次刷新时会执行下面的语句创建它"
                                          "（也可以运行 kvet-check --create-views）：").arg(name),
                           viewDefinitionLines(v));
    }
    if (!missing.isEmpty() && permission.known && !permission.allowed) {
        const QString user = permission.user.isEmpty() ? QStringLiteral("<用户>") : permission.user;
        report.hint(QStringLiteral("或请数据库管理员授权：GRANT CREATE VIEW TO [%1]; GRANT ALTER ON SCHEMA::dbo TO [%1];")
                        .arg(user));
    }
    return missing;
}

} // namespace kvet::check
