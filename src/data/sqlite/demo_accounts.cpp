#include "data/sqlite/demo_accounts.h"

#include "data/failure.h"
#include "data/sqlite/row_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kvet::sqlite {

namespace {

struct CategoryShare {
    DemoCategory category;
    const char* name; // nullptr: YSLB is NULL
    int accounts;     // households take the remainder
};

const CategoryShare kShares[] = {
    {DemoCategory::Service, "经营服务用水", 1900},
    {DemoCategory::Public, "行政事业用水", 520},
    {DemoCategory::Industry, "工业用水", 380},
    {DemoCategory::Construction, "建筑施工用水", 160},
    {DemoCategory::Special, "特种行业用水", 85},
    {DemoCategory::FireService, "消防用水", 30},
    {DemoCategory::None, nullptr, 45},
};

const char* const kSurnames[] = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡",
    "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹",
    "彭", "曾", "肖", "田", "董", "袁", "潘", "于", "蒋", "蔡", "余", "杜", "叶", "程", "苏",
    "魏", "吕", "丁", "任", "沈", "姚", "卢", "姜", "崔", "钟", "谭", "陆", "汪", "范", "金",
    "石", "廖", "贾", "夏", "韦", "方", "白", "邹", "孟", "熊", "秦", "邱", "江", "尹", "薛",
    "段", "雷", "侯", "龙", "史", "陶", "黎", "贺", "顾", "毛", "郝", "龚", "邵", "万", "覃"};

const char* const kGivenChars[] = {
    "伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛",
    "明", "超", "兰", "霞", "平", "刚", "桂", "英", "华", "建", "国", "志", "海", "燕", "玉",
    "萍", "红", "文", "辉", "鹏", "斌", "宇", "浩", "凯", "秀", "梅", "琳", "婷", "雪", "慧",
    "晨", "阳", "亮", "峰", "波", "宁", "欣", "佳", "晓", "俊", "林", "春", "荣", "成", "德"};

const char* const kDistricts[] = {"澜东区", "澜西区", "澜南区", "新城区"};

const char* const kEstates[] = {
    "幸福小区", "阳光花园", "锦绣家园", "翠湖苑", "金色港湾", "书香门第", "怡景园", "康乐小区",
    "水岸名居", "紫荆花园", "丽水湾", "青年公寓", "和谐家园", "桂苑新村", "南湖人家", "东方名城",
    "滨江花园", "春晖苑", "枫林绿洲", "盛世华庭"};

const char* const kRoads[] = {"解放路", "人民路", "建设路", "中山路", "和平街", "文化路",
                              "新华街", "胜利路", "朝阳路", "青年路", "滨河路", "光明街",
                              "长江路", "迎宾大道", "学府路", "工业园路"};

const char* const kShopWords[] = {"鑫源", "宏达", "恒通", "华联", "金穗", "顺发", "福临", "永盛",
                                  "天和", "瑞丰", "佳美", "新世纪", "鸿运", "百信", "惠民"};

const char* const kServiceKinds[] = {"餐馆", "超市", "洗车行", "理发店", "宾馆", "茶楼",
                                     "药店", "面馆", "洗浴中心", "酒店", "便利店", "干洗店"};
const char* const kIndustryKinds[] = {"食品厂", "建材厂", "纺织厂", "机械厂", "印刷厂",
                                      "包装有限公司", "塑料制品厂", "酿造厂"};
const char* const kPublicNames[] = {"人民医院", "第一中学", "第三小学", "实验幼儿园",
                                    "街道办事处", "派出所", "社区卫生服务中心", "图书馆",
                                    "税务分局", "中心敬老院", "职业技术学校", "体育馆"};
const char* const kSpecialKinds[] = {"洗浴城", "纯净水厂", "洗车中心", "游泳馆", "足浴店"};

QByteArray personName(DemoRandom& r)
{
    QByteArray name(r.pick(kSurnames));
    name += r.pick(kGivenChars);
    if (r.chance(0.7))
        name += r.pick(kGivenChars);
    return name;
}

QByteArray holderName(DemoCategory category, const char* district, DemoRandom& r)
{
    const QByteArray city("澜川市");
    switch (category) {
    case DemoCategory::Household:
    case DemoCategory::None: return personName(r);
    case DemoCategory::Service: return QByteArray(r.pick(kShopWords)) + r.pick(kServiceKinds);
    case DemoCategory::Industry: return city + r.pick(kShopWords) + r.pick(kIndustryKinds);
    case DemoCategory::Public: return city + district + r.pick(kPublicNames);
    case DemoCategory::Construction:
        return QByteArray(r.pick(kShopWords)) + "建筑工程有限公司" + r.pick(kEstates) + "项目部";
    case DemoCategory::Special: return QByteArray(r.pick(kShopWords)) + r.pick(kSpecialKinds);
    case DemoCategory::FireService: return QByteArray(r.pick(kEstates)) + "消防栓";
    }
    return personName(r);
}

// Households live in the book's estate; everyone else on a road of its district.
QByteArray address(DemoCategory category, int book, int place, DemoRandom& r)
{
    char buffer[160];
    const char* district = kDistricts[book % 4];
    if (category == DemoCategory::Household || category == DemoCategory::None) {
        const int building = place / 24 + 1;
        std::snprintf(buffer, sizeof buffer, "%s%s%d栋%d单元%d%02d", district,
                      kEstates[book % 20], building, r.between(1, 3), r.between(1, 18),
                      r.between(1, 4));
    } else {
        std::snprintf(buffer, sizeof buffer, "%s%s%d号", district, kRoads[(book + place) % 16],
                      r.between(1, 388));
    }
    return QByteArray(buffer);
}

// The shares are those of the 30 000 accounts, scaled to count.
std::vector<DemoCategory> shuffledCategories(int count, DemoRandom& r)
{
    std::vector<DemoCategory> categories;
    categories.reserve(std::size_t(count));
    for (const CategoryShare& share : kShares) {
        const auto scaled = std::size_t(qint64(share.accounts) * count / kDemoAccountCount);
        categories.insert(categories.end(), std::min(scaled, std::size_t(count) - categories.size()),
                          share.category);
    }
    categories.resize(std::size_t(count), DemoCategory::Household);
    for (int i = count - 1; i > 0; --i)
        std::swap(categories[std::size_t(i)], categories[std::size_t(r.below(i + 1))]);
    return categories;
}

QByteArray categoryName(DemoCategory category)
{
    if (category == DemoCategory::Household)
        return QByteArray("居民生活用水");
    for (const CategoryShare& share : kShares)
        if (share.category == category && share.name)
            return QByteArray(share.name);
    return QByteArray(); // NULL
}

// The readers work through the books in order, one cycle of 36 days that
// began 24 days ago, nobody on Sundays; entries follow the reading by a day
// or so. Books whose day is still to come are not read yet.
QDate readingDay(int book, int booksPerCycle, const QDate& today)
{
    QDate day = today.addDays(-24 + int(qint64(book - 1) * 36 / booksPerCycle));
    if (day.dayOfWeek() == Qt::Sunday)
        day = day.addDays(-1);
    return day;
}

} // namespace

QByteArray demoTimestamp(const QDate& day, int secondOfDay)
{
    // Written by hand: a year of payments makes printf the slowest part.
    char text[] = "0000-00-00 00:00:00";
    auto put = [&text](int at, int value, int digits) {
        for (int i = at + digits - 1; i >= at; --i, value /= 10)
            text[i] = char('0' + value % 10);
    };
    put(0, day.year(), 4);
    put(5, day.month(), 2);
    put(8, day.day(), 2);
    put(11, secondOfDay / 3600, 2);
    put(14, secondOfDay / 60 % 60, 2);
    put(17, secondOfDay % 60, 2);
    return QByteArray(text, sizeof text - 1);
}

double typicalAmount(DemoCategory category, DemoRandom& r)
{
    double yuan = 0;
    switch (category) {
    case DemoCategory::Household:
    case DemoCategory::None:
        // 3.45 yuan a ton, or a round sum paid ahead
        yuan = r.chance(0.25) ? 50.0 * r.between(1, 4) : 3.45 * r.between(3, 38);
        break;
    case DemoCategory::Service: yuan = 5.6 * r.between(10, 300); break;
    case DemoCategory::Public: yuan = 4.3 * r.between(50, 800); break;
    case DemoCategory::Industry: yuan = 4.8 * r.between(100, 2500); break;
    case DemoCategory::Construction: yuan = 5.6 * r.between(50, 800); break;
    case DemoCategory::Special: yuan = 28.0 * r.between(5, 120); break;
    case DemoCategory::FireService: yuan = 4.3 * r.between(1, 20); break;
    }
    return std::round(yuan * 100.0) / 100.0;
}

std::vector<DemoAccount> writeDemoAccounts(sqlite3* db, const QDateTime& now, DemoRandom& r, int count)
{
    if (count < 1 || count > kDemoMaxAccountCount)
        throw Failure(QStringLiteral("The sample holds from 1 to %1 accounts, not %2").arg(kDemoMaxAccountCount).arg(count));
    const int booksPerCycle = (count + kDemoAccountsPerBook - 1) / kDemoAccountsPerBook;
    const QDate today = now.date();
    const int secondsToday = now.time().msecsSinceStartOfDay() / 1000;
    RowWriter row(db, "INSERT INTO sf_yh (tzh, hm, dz, YSLB, cbch, lrzt, lrrq1) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?)");
    const std::vector<DemoCategory> categories = shuffledCategories(count, r);
    std::vector<DemoAccount> accounts;
    accounts.reserve(std::size_t(count));

    for (int i = 0; i < count; ++i) {
        const int book = i / kDemoAccountsPerBook + 1;
        const int place = i % kDemoAccountsPerBook;
        const DemoCategory category = categories[std::size_t(i)];
        DemoAccount account{QByteArray::number(1000001 + i), category,
                            r.chance(0.015) ? 0 : book, false};

        // Entered a day or two after reading; the latest days are partly done.
        const QDate read = readingDay(book, booksPerCycle, today);
        const qint64 daysAgo = read.daysTo(today);
        const double enteredShare = daysAgo >= 2  ? 0.93
                                    : daysAgo == 1 ? 0.55
                                    : daysAgo == 0 ? 0.25
                                                   : 0.0;
        // Every draw is made whatever the time of day, so that the sample of
        // one date stays the same and only entries still to come are left out.
        std::optional<std::int64_t> lrzt = r.chance(enteredShare) ? 1 : 0;
        if (r.chance(0.015))
            lrzt.reset();
        const QDate enteredDay = read.addDays(daysAgo >= 1 && r.chance(0.3) ? 1 : 0);
        const int enteredSecond = r.between(8 * 3600, 17 * 3600 + 1800);
        const bool previousKnown = r.chance(0.7);
        const int previousSecond = r.between(8 * 3600, 17 * 3600);
        if (lrzt == 1 && enteredDay == today && enteredSecond > secondsToday)
            lrzt = 0; // not entered yet
        QByteArray enteredAt;
        if (lrzt == 1) {
            enteredAt = demoTimestamp(enteredDay, enteredSecond);
            account.entered = true;
        } else if (lrzt == 0 && previousKnown) {
            // the previous cycle's entry, two months back
            enteredAt = demoTimestamp(read.addDays(-61), previousSecond);
        }

        const char* district = kDistricts[book % 4];
        row.text(account.tzh)
            .text(holderName(category, district, r))
            .text(address(category, book, place, r))
            .text(categoryName(category))
            .integer(account.cbch)
            .integer(lrzt)
            .text(enteredAt)
            .write();
        accounts.push_back(std::move(account));
    }
    return accounts;
}

} // namespace kvet::sqlite
