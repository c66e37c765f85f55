#include "SqliteStorage.h"

#include <ctime>

namespace rowstone::service {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE accounts (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    password_hash TEXT NOT NULL,
    session_key TEXT,
    created_at INTEGER NOT NULL
);
CREATE TABLE ledger (
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL REFERENCES accounts(id),
    delta INTEGER NOT NULL,
    reason TEXT NOT NULL,
    created_at INTEGER NOT NULL
);
CREATE INDEX ledger_by_account ON ledger(account_id);
CREATE TABLE challenges (
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL REFERENCES accounts(id),
    state INTEGER,
    reward_yuan INTEGER NOT NULL DEFAULT 0,
    paid_at INTEGER NOT NULL,
    reported_at INTEGER
);
CREATE INDEX challenges_by_account ON challenges(account_id);
CREATE TABLE withdrawals (
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL REFERENCES accounts(id),
    alipay_account TEXT NOT NULL,
    amount_yuan INTEGER NOT NULL,
    status TEXT NOT NULL CHECK (status IN ('pending', 'paid')),
    created_at INTEGER NOT NULL
);
CREATE TABLE uploads (
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL REFERENCES accounts(id),
    connect_length INTEGER NOT NULL,
    width INTEGER NOT NULL,
    first_side INTEGER NOT NULL,
    move_count INTEGER NOT NULL,
    cells TEXT NOT NULL,
    verified_win INTEGER NOT NULL,
    created_at INTEGER NOT NULL
);
CREATE TABLE orders (
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL REFERENCES accounts(id),
    email TEXT NOT NULL,
    total INTEGER NOT NULL,
    quantities TEXT NOT NULL,
    created_at INTEGER NOT NULL
);
CREATE TABLE feedback (
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL,
    text TEXT NOT NULL,
    created_at INTEGER NOT NULL
);
CREATE TABLE settings (
    key TEXT PRIMARY KEY,
    value INTEGER NOT NULL
);
INSERT INTO settings (key, value) VALUES
    ('starting_points', 100),
    ('game_price', 20),
    ('reward_yuan', 1),
    ('reward_every_wins', 1);
)sql";

int64_t Now() {
    return static_cast<int64_t>(std::time(nullptr));
}

} // namespace

bool SqliteStorage::Open(const std::string& path, std::string& error) {
    std::lock_guard lock(mutex_);
    if (!db_.Open(path, error)) {
        return false;
    }
    if (!db_.Execute("PRAGMA journal_mode=WAL") || !db_.Execute("PRAGMA foreign_keys=ON") ||
        !db_.Execute("PRAGMA synchronous=NORMAL")) {
        error = db_.LastError();
        return false;
    }
    return Migrate(error);
}

bool SqliteStorage::Migrate(std::string& error) {
    SqliteTransaction transaction(db_);
    if (!transaction.Active()) {
        error = db_.LastError();
        return false;
    }
    SqliteStatement version(db_, "PRAGMA user_version");
    const int64_t current = version.NextRow() ? version.Integer(0) : -1;
    if (current == kSchemaVersion) {
        return true;
    }
    if (current != 0) {
        error = "database schema version " + std::to_string(current) + " is not " +
                std::to_string(kSchemaVersion);
        return false;
    }
    if (!db_.Execute(kSchema) ||
        !db_.Execute("PRAGMA user_version = " + std::to_string(kSchemaVersion))) {
        error = db_.LastError();
        return false;
    }
    if (!transaction.Commit()) {
        error = db_.LastError();
        return false;
    }
    return true;
}

int64_t SqliteStorage::Setting(const char* key, int64_t fallback) {
    SqliteStatement query(db_, "SELECT value FROM settings WHERE key = ?");
    query.Bind(std::string(key));
    return query.NextRow() ? query.Integer(0) : fallback;
}

ServiceRules SqliteStorage::Rules() {
    std::lock_guard lock(mutex_);
    ServiceRules rules;
    rules.startingPoints = Setting("starting_points", rules.startingPoints);
    rules.gamePrice = Setting("game_price", rules.gamePrice);
    rules.reward.yuan = Setting("reward_yuan", rules.reward.yuan);
    rules.reward.everyWins = Setting("reward_every_wins", rules.reward.everyWins);
    return rules;
}

bool SqliteStorage::AddLedgerRow(int64_t userId, int64_t delta, const std::string& reason) {
    SqliteStatement insert(
        db_, "INSERT INTO ledger (account_id, delta, reason, created_at) VALUES (?, ?, ?, ?)");
    return insert.Bind(userId).Bind(delta).Bind(reason).Bind(Now()).Run();
}

CreateAccountResult SqliteStorage::CreateAccount(const std::string& name,
                                                 const std::string& passwordHash,
                                                 int64_t startingPoints, int64_t& id) {
    std::lock_guard lock(mutex_);
    SqliteTransaction transaction(db_);
    if (!transaction.Active()) {
        return CreateAccountResult::Failed;
    }
    SqliteStatement existing(db_, "SELECT 1 FROM accounts WHERE name = ?");
    if (existing.Bind(name).NextRow()) {
        return CreateAccountResult::NameTaken;
    }
    SqliteStatement insert(
        db_, "INSERT INTO accounts (name, password_hash, created_at) VALUES (?, ?, ?)");
    if (!insert.Bind(name).Bind(passwordHash).Bind(Now()).Run()) {
        return CreateAccountResult::Failed;
    }
    id = db_.LastInsertId();
    if (startingPoints != 0 && !AddLedgerRow(id, startingPoints, "starting balance")) {
        return CreateAccountResult::Failed;
    }
    return transaction.Commit() ? CreateAccountResult::Created : CreateAccountResult::Failed;
}

std::optional<Account> SqliteStorage::FindAccount(const std::string& name) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_, "SELECT id, name, password_hash FROM accounts WHERE name = ?");
    if (!query.Bind(name).NextRow()) {
        return std::nullopt;
    }
    return Account{query.Integer(0), query.Text(1), query.Text(2)};
}

std::optional<Account> SqliteStorage::FindAccount(int64_t id) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_, "SELECT id, name, password_hash FROM accounts WHERE id = ?");
    if (!query.Bind(id).NextRow()) {
        return std::nullopt;
    }
    return Account{query.Integer(0), query.Text(1), query.Text(2)};
}

bool SqliteStorage::StartSession(int64_t userId, const std::string& sessionKey) {
    std::lock_guard lock(mutex_);
    SqliteStatement update(db_, "UPDATE accounts SET session_key = ? WHERE id = ?");
    return update.Bind(sessionKey).Bind(userId).Run() && db_.Changes() == 1;
}

bool SqliteStorage::SessionMatches(int64_t userId, const std::string& sessionKey) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_, "SELECT session_key FROM accounts WHERE id = ?");
    return !sessionKey.empty() && query.Bind(userId).NextRow() && !query.IsNull(0) &&
           query.Text(0) == sessionKey;
}

std::optional<int64_t> SqliteStorage::AccountOfSession(const std::string& sessionKey) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(db_, "SELECT id FROM accounts WHERE session_key = ?");
    if (sessionKey.empty() || !query.Bind(sessionKey).NextRow()) {
        return std::nullopt;
    }
    return query.Integer(0);
}

std::optional<int64_t> SqliteStorage::BalanceLocked(int64_t userId) {
    SqliteStatement query(db_,
                          "SELECT (SELECT COUNT(*) FROM accounts WHERE id = ?1), "
                          "(SELECT COALESCE(SUM(delta), 0) FROM ledger WHERE account_id = ?1)");
    if (!query.Bind(userId).NextRow() || query.Integer(0) != 1) {
        return std::nullopt;
    }
    return query.Integer(1);
}

std::optional<int64_t> SqliteStorage::Balance(int64_t userId) {
    std::lock_guard lock(mutex_);
    return BalanceLocked(userId);
}

PaymentResult SqliteStorage::PayForGame(int64_t userId, int64_t price, int64_t& gameId) {
    std::lock_guard lock(mutex_);
    SqliteTransaction transaction(db_);
    if (!transaction.Active()) {
        return PaymentResult::Failed;
    }
    const std::optional<int64_t> balance = BalanceLocked(userId);
    if (!balance) {
        return PaymentResult::Failed;
    }
    if (*balance < price) {
        return PaymentResult::NotEnoughPoints;
    }
    SqliteStatement open(db_, "INSERT INTO challenges (account_id, paid_at) VALUES (?, ?)");
    if (!open.Bind(userId).Bind(Now()).Run()) {
        return PaymentResult::Failed;
    }
    gameId = db_.LastInsertId();
    if (!AddLedgerRow(userId, -price, "game " + std::to_string(gameId))) {
        return PaymentResult::Failed;
    }
    return transaction.Commit() ? PaymentResult::Paid : PaymentResult::Failed;
}

ReportResult SqliteStorage::ReportChallenge(int64_t userId, int64_t gameId, int state,
                                            const RewardRule& rule,
                                            std::optional<int64_t>& rewardYuan) {
    std::lock_guard lock(mutex_);
    rewardYuan.reset();
    SqliteTransaction transaction(db_);
    if (!transaction.Active()) {
        return ReportResult::Failed;
    }
    SqliteStatement challenge(db_,
                              "SELECT account_id, state IS NOT NULL FROM challenges WHERE id = ?");
    if (!challenge.Bind(gameId).NextRow() || challenge.Integer(0) != userId) {
        return ReportResult::UnknownChallenge;
    }
    if (challenge.Integer(1) != 0) {
        return ReportResult::AlreadyReported;
    }
    int64_t reward = 0;
    if (state == 1 && rule.yuan > 0 && rule.everyWins > 0) {
        SqliteStatement wins(db_,
                             "SELECT COUNT(*) FROM challenges WHERE account_id = ? AND state = 1");
        const int64_t earlierWins = wins.Bind(userId).NextRow() ? wins.Integer(0) : 0;
        if ((earlierWins + 1) % rule.everyWins == 0) {
            reward = rule.yuan;
        }
    }
    SqliteStatement close(db_, "UPDATE challenges SET state = ?, reward_yuan = ?, reported_at = ? "
                               "WHERE id = ? AND state IS NULL");
    if (!close.Bind(int64_t{state}).Bind(reward).Bind(Now()).Bind(gameId).Run() ||
        db_.Changes() != 1) {
        return ReportResult::Failed;
    }
    if (!transaction.Commit()) {
        return ReportResult::Failed;
    }
    if (reward > 0) {
        rewardYuan = reward;
    }
    return ReportResult::Reported;
}

bool SqliteStorage::StoreUpload(const BoardUpload& upload) {
    std::string cells;
    for (int cell : upload.cells) {
        cells += (cells.empty() ? "" : " ") + std::to_string(cell);
    }
    std::lock_guard lock(mutex_);
    SqliteStatement insert(db_,
                           "INSERT INTO uploads (account_id, connect_length, width, first_side, "
                           "move_count, cells, verified_win, created_at) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    return insert.Bind(upload.userId)
        .Bind(int64_t{upload.connectLength})
        .Bind(int64_t{upload.width})
        .Bind(int64_t{upload.firstSide})
        .Bind(static_cast<int64_t>(upload.cells.size()))
        .Bind(cells)
        .Bind(int64_t{upload.verifiedWin ? 1 : 0})
        .Bind(Now())
        .Run();
}

WithdrawalResult SqliteStorage::RequestWithdrawal(int64_t userId, const std::string& account,
                                                  int64_t& amountYuan) {
    std::lock_guard lock(mutex_);
    SqliteTransaction transaction(db_);
    if (!transaction.Active()) {
        return WithdrawalResult::Failed;
    }
    SqliteStatement pending(
        db_, "SELECT COUNT(*) FROM withdrawals WHERE account_id = ? AND status = 'pending'");
    if (!pending.Bind(userId).NextRow()) {
        return WithdrawalResult::Failed;
    }
    if (pending.Integer(0) > 0) {
        return WithdrawalResult::AlreadyPending;
    }
    SqliteStatement open(
        db_,
        "SELECT (SELECT COALESCE(SUM(reward_yuan), 0) FROM challenges WHERE account_id = ?1) - "
        "(SELECT COALESCE(SUM(amount_yuan), 0) FROM withdrawals WHERE account_id = ?1)");
    if (!open.Bind(userId).NextRow()) {
        return WithdrawalResult::Failed;
    }
    amountYuan = open.Integer(0);
    if (amountYuan <= 0) {
        return WithdrawalResult::NoEnvelope;
    }
    SqliteStatement insert(db_, "INSERT INTO withdrawals (account_id, alipay_account, amount_yuan, "
                                "status, created_at) VALUES (?, ?, ?, 'pending', ?)");
    if (!insert.Bind(userId).Bind(account).Bind(amountYuan).Bind(Now()).Run()) {
        return WithdrawalResult::Failed;
    }
    return transaction.Commit() ? WithdrawalResult::Requested : WithdrawalResult::Failed;
}

OrderResult SqliteStorage::PlaceOrder(int64_t userId, const std::string& email, int64_t total,
                                      const OrderQuantities& quantities) {
    std::string rows;
    for (size_t i = 0; i < quantities.size(); ++i) {
        rows += (i == 0 ? "" : " ") + std::string("l") + std::to_string(kFirstRowLength + i) + "=" +
                std::to_string(quantities[i]);
    }
    std::lock_guard lock(mutex_);
    SqliteTransaction transaction(db_);
    if (!transaction.Active()) {
        return OrderResult::Failed;
    }
    const std::optional<int64_t> balance = BalanceLocked(userId);
    if (!balance) {
        return OrderResult::Failed;
    }
    if (*balance < total) {
        return OrderResult::NotEnoughPoints;
    }
    SqliteStatement insert(db_, "INSERT INTO orders (account_id, email, total, quantities, "
                                "created_at) VALUES (?, ?, ?, ?, ?)");
    if (!insert.Bind(userId).Bind(email).Bind(total).Bind(rows).Bind(Now()).Run()) {
        return OrderResult::Failed;
    }
    if (total != 0 &&
        !AddLedgerRow(userId, -total, "data order " + std::to_string(db_.LastInsertId()))) {
        return OrderResult::Failed;
    }
    return transaction.Commit() ? OrderResult::Placed : OrderResult::Failed;
}

bool SqliteStorage::StoreFeedback(int64_t userId, const std::string& text) {
    std::lock_guard lock(mutex_);
    SqliteStatement insert(db_,
                           "INSERT INTO feedback (account_id, text, created_at) VALUES (?, ?, ?)");
    return insert.Bind(userId).Bind(text).Bind(Now()).Run();
}

bool SqliteStorage::AddPoints(int64_t userId, int64_t points, const std::string& reason) {
    std::lock_guard lock(mutex_);
    SqliteTransaction transaction(db_);
    if (!transaction.Active() || !BalanceLocked(userId) || !AddLedgerRow(userId, points, reason)) {
        return false;
    }
    return transaction.Commit();
}

std::vector<RankingRow> SqliteStorage::Ranking(int limit) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(
        db_, "SELECT a.id, a.name, "
             "SUM(c.state = 1), SUM(c.state IN (-1, -2, -3)), SUM(c.state = 0), SUM(c.reward_yuan) "
             "FROM accounts a JOIN challenges c ON c.account_id = a.id "
             "WHERE c.state IS NOT NULL GROUP BY a.id "
             "ORDER BY 3 DESC, 4 ASC, a.id ASC LIMIT ?");
    query.Bind(int64_t{limit});
    std::vector<RankingRow> rows;
    while (query.NextRow()) {
        rows.push_back(RankingRow{query.Integer(0), query.Text(1),
                                  static_cast<int>(query.Integer(2)),
                                  static_cast<int>(query.Integer(3)),
                                  static_cast<int>(query.Integer(4)), query.Integer(5)});
    }
    return rows;
}

std::optional<PersonalCentre> SqliteStorage::PersonalCentreOf(int64_t userId) {
    std::lock_guard lock(mutex_);
    SqliteStatement query(
        db_, "SELECT a.name, "
             "(SELECT COALESCE(SUM(delta), 0) FROM ledger WHERE account_id = a.id), "
             "(SELECT COUNT(*) FROM challenges WHERE account_id = a.id AND state = 1), "
             "(SELECT COUNT(*) FROM challenges WHERE account_id = a.id AND state IS NOT NULL), "
             "(SELECT COALESCE(SUM(reward_yuan), 0) FROM challenges WHERE account_id = a.id), "
             "(SELECT COALESCE(SUM(amount_yuan), 0) FROM withdrawals WHERE account_id = a.id), "
             "(SELECT COUNT(*) FROM withdrawals WHERE account_id = a.id AND status = 'pending') "
             "FROM accounts a WHERE a.id = ?");
    if (!query.Bind(userId).NextRow()) {
        return std::nullopt;
    }
    PersonalCentre centre;
    centre.userId = userId;
    centre.name = query.Text(0);
    centre.points = query.Integer(1);
    centre.wins = static_cast<int>(query.Integer(2));
    centre.games = static_cast<int>(query.Integer(3));
    centre.envelopesYuan = query.Integer(4);
    centre.unwithdrawnYuan = query.Integer(4) - query.Integer(5);
    centre.withdrawalPending = query.Integer(6) > 0;
    return centre;
}

int64_t SqliteStorage::CountRecords(const std::string& kind) {
    static const char* const kinds[] = {"accounts", "ledger", "challenges", "withdrawals",
                                        "uploads",  "orders", "feedback"};
    for (const char* known : kinds) {
        if (kind == known) {
            std::lock_guard lock(mutex_);
            SqliteStatement query(db_, std::string("SELECT COUNT(*) FROM ") + known);
            return query.NextRow() ? query.Integer(0) : -1;
        }
    }
    return -1;
}

} // namespace rowstone::service
