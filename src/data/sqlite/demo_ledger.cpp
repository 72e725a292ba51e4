#include "data/sqlite/demo_ledger.h"

#include "data/sqlite/row_writer.h"

#include <algorithm>
#include <cstdio>

namespace kvet::sqlite {

namespace {

struct Channel {
    const char* code; // nullptr: ren is NULL
    int weight;
    bool counter; // paid at the counter, in opening hours
};

// Clerks at the counter write their own name: codes the channel mapping does
// not know, shown as the business hall.
const Channel kChannels[] = {
    {"张丽萍", 9, true}, {"王建军", 8, true}, {"李晓燕", 8, true}, {"刘洋", 6, true},
    {"wx", 22, false},   {"ZFB", 17, false},  {"006", 6, false},    {"GDYH", 3, false},
    {"006YNT", 2, false}, {"nyyh", 4, false}, {"gsyh", 4, false},   {"xys", 3, false},
    {"ycyh", 3, false},  {"zsyh", 1, false},  {"ATM", 1, false},    {nullptr, 1, false},
};

const Channel& pickChannel(DemoRandom& r)
{
    static const int total = [] {
        int sum = 0;
        for (const Channel& c : kChannels)
            sum += c.weight;
        return sum;
    }();
    int roll = r.below(total);
    for (const Channel& c : kChannels) {
        if (roll < c.weight)
            return c;
        roll -= c.weight;
    }
    return kChannels[0];
}

struct Payment {
    int second;
    int account;
    const Channel* channel;
    double amount;
};

// Payments of a day for 30 000 accounts, times scale for a sample of another
// size (exactly 1 for that one, so that its payments stay as they were).
int paymentsOn(const QDate& day, double scale, DemoRandom& r)
{
    const int base = day.dayOfWeek() == Qt::Sunday ? 90 : day.dayOfWeek() == Qt::Saturday ? 150 : 215;
    // people pay after the bills come, early in the month
    const double peak = day.day() <= 10 ? 1.3 : 1.0;
    return int(base * peak * (0.8 + 0.4 * r.uniform()) * scale);
}

int payingAccount(const std::vector<DemoAccount>& accounts, DemoRandom& r)
{
    for (;;) {
        const int i = r.below(int(accounts.size()));
        if (accounts[i].cbch > 0 || r.chance(0.1))
            return i;
    }
}

} // namespace

void writeDemoPayments(sqlite3* db, const std::vector<DemoAccount>& accounts, const QDateTime& now,
                       DemoRandom& r)
{
    RowWriter row(db, "INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES (?, ?, ?, ?, ?)");
    const QDate today = now.date();
    const int secondsToday = now.time().msecsSinceStartOfDay() / 1000;
    std::int64_t lsh = 2000000;
    std::vector<Payment> day;
    const double scale = double(accounts.size()) / kDemoAccountCount;

    for (QDate date = today.addDays(-364); date <= today; date = date.addDays(1)) {
        day.clear();
        const int count = paymentsOn(date, scale, r);
        for (int k = 0; k < count; ++k) {
            Payment p{0, payingAccount(accounts, r), &pickChannel(r), 0.0};
            if (p.channel->counter && date.dayOfWeek() == Qt::Sunday)
                p.channel = &kChannels[4]; // the hall is closed: paid by phone
            p.second = p.channel->counter ? r.between(8 * 3600 + 1800, 17 * 3600 + 1800)
                       : r.chance(0.9)    ? r.between(7 * 3600, 23 * 3600)
                                          : r.between(0, 86399);
            // many pay two or three bills at once
            const int bills = r.chance(0.6) ? 1 : r.chance(0.75) ? 2 : 3;
            p.amount = typicalAmount(accounts[p.account].category, r) * bills;
            if (r.chance(0.004))
                p.amount = 0.0;
            else if (p.channel->counter && r.chance(0.01))
                p.amount = -p.amount; // refund of a double payment
            day.push_back(p);
        }
        std::stable_sort(day.begin(), day.end(),
                         [](const Payment& a, const Payment& b) { return a.second < b.second; });
        for (const Payment& p : day) {
            lsh += 1;
            // Today's payments still to come are not made yet.
            if (date == today && p.second > secondsToday)
                break;
            row.integer(lsh)
                .text(accounts[p.account].tzh)
                .real(p.amount)
                .text(p.channel->code ? QByteArray(p.channel->code) : QByteArray())
                .text(demoTimestamp(date, p.second))
                .write();
        }
    }
}

void writeDemoBills(sqlite3* db, const std::vector<DemoAccount>& accounts, const QDateTime& now,
                    DemoRandom& r)
{
    RowWriter row(db, "INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?)");
    const int year = now.date().year();
    const int currentMonth = now.date().month();
    int invoice = 31000000 + r.below(100000);
    char jfsj[16];

    for (int month = 1; month <= currentMonth; ++month) {
        std::snprintf(jfsj, sizeof jfsj, "%04d%02d", year, month);
        const int age = currentMonth - month;
        const double paidShare = age == 0 ? 0.35 : age == 1 ? 0.8 : age == 2 ? 0.92 : 0.97;
        for (const DemoAccount& account : accounts) {
            // Each book is read every second month; this month's bills come
            // from the readings entered so far.
            if (account.cbch <= 0 || account.cbch % 2 != month % 2)
                continue;
            if (age == 0 && !account.entered)
                continue;
            const double fee = r.chance(0.03) ? 0.0 : typicalAmount(account.category, r);
            const int yhls = r.chance(0.03) ? 1 : 2;
            const bool paid = r.chance(paidShare);
            char invoiceText[24];
            const char* fph = "";
            const char* jfzt = paid ? "已缴" : "未缴";
            if (paid) {
                std::snprintf(invoiceText, sizeof invoiceText, "No.%d", ++invoice);
                fph = r.chance(0.005) ? nullptr : invoiceText;
                if (age >= 2 && r.chance(0.01))
                    fph = "拖欠"; // paid after it was overdue
            } else if (age >= 2 && r.chance(0.75)) {
                fph = "拖欠";
            } else if (r.chance(0.02)) {
                fph = nullptr;
            }
            if (r.chance(0.003))
                jfzt = "作废";
            row.text(account.tzh)
                .staticText(jfsj)
                .real(fee)
                .integer(account.cbch)
                .integer(yhls)
                .staticText(fph)
                .staticText(jfzt)
                .write();
        }
    }
}

} // namespace kvet::sqlite
