#include "DesktopFixture.h"

#include "CHttpClient.h"
#include "CPatternNetwork.h"
#include "FormBody.h"
#include "LoginResult.h"
#include "ModelWriter.h"
#include "ReplyValue.h"
#include "ServiceAddress.h"
#include "ServicePaths.h"
#include "SqliteDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace rowstone::test {

std::vector<uint8_t> RandomPlayerModel(int width, int height, int connectLength, int layerCount) {
    CPatternNetwork network;
    network.CreateLayers(layerCount);
    const int side = std::max(width, height) + 1;
    for (int layer = 1; layer < layerCount; ++layer) {
        CStonePattern pattern;
        pattern.Allocate(side, 1, 3);
        for (int column = 0; column < side; ++column)
            pattern.At(0, 0, column) = 1;
        pattern.ComputeThreshold();
        network.layers[static_cast<size_t>(layer)].patterns.push_back(pattern);
    }
    std::vector<uint8_t> bytes;
    WriteModel(network, width, height, connectLength, bytes);
    return bytes;
}

ModelFolder::ModelFolder() = default;

void ModelFolder::Write(int number, const std::vector<uint8_t>& bytes) const {
    QFile file(QDir(folder.path()).filePath(QStringLiteral("model_%1.mod").arg(number)));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

void ModelFolder::Remove(int number) const {
    QFile::remove(QDir(folder.path()).filePath(QStringLiteral("model_%1.mod").arg(number)));
}

namespace {

int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool Answers(int port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(200);
}

} // namespace

ServiceFixture::ServiceFixture(const QString& modelsFolder) {
    port = FreePort();
    process.setProgram(QStringLiteral(ROWSTONE_SERVICE_EXE));
    process.setArguments({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                          QStringLiteral("--data"), data.path(), QStringLiteral("--models"),
                          modelsFolder});
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    if (!process.waitForStarted(5000))
        return;
    for (int i = 0; i < 100 && process.state() == QProcess::Running; ++i) {
        if (Answers(port)) {
            running = true;
            return;
        }
        QTest::qWait(50);
    }
}

ServiceFixture::~ServiceFixture() {
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
}

int ServiceFixture::AddUser(const QString& name, const QString& password, int points) {
    QProcess add;
    add.start(QStringLiteral(ROWSTONE_SERVICE_EXE),
              {QStringLiteral("user"), QStringLiteral("add"), name, password,
               QStringLiteral("--points"), QString::number(points), QStringLiteral("--data"),
               data.path()});
    if (!add.waitForFinished(30000) || add.exitCode() != 0)
        return -1;
    bool ok = false;
    const int id = QString::fromUtf8(add.readAllStandardOutput()).trimmed().toInt(&ok);
    return ok ? id : -1;
}

QStringList ServiceFixture::LogLines() {
    log += process.readAllStandardError();
    return QString::fromUtf8(log).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList ServiceFixture::Query(const QString& sql) const {
    QStringList rows;
    service::SqliteDatabase db;
    std::string error;
    const QByteArray path =
        QFile::encodeName(QDir(data.path()).filePath(QStringLiteral("rowstone.db")));
    if (!db.Open(path.toStdString(), error))
        return rows;
    service::SqliteStatement statement(db, sql.toStdString());
    while (statement.NextRow()) {
        QStringList columns;
        for (int i = 0; i < statement.ColumnCount(); ++i)
            columns << QString::fromStdString(statement.Text(i));
        rows << columns.join(QLatin1Char('|'));
    }
    return rows;
}

void ServiceFixture::StartCounting() {
    QTest::qWait(50);
    countFrom = LogLines().size();
}

int ServiceFixture::RequestsTo(const QString& path) {
    // The service writes its log line once the reply is out; give it a moment.
    QTest::qWait(50);
    const QStringList lines = LogLines();
    int count = 0;
    for (qsizetype i = countFrom; i < lines.size(); ++i) {
        if (lines[i].contains(path))
            ++count;
    }
    return count;
}

Account LoginDirect(const QString& serviceUrl, const QString& name, const QString& password) {
    CHttpClient client;
    FormBody body;
    body.AddText("name", name.toStdString()).AddText("psw", password.toStdString());
    Account account;
    if (client.PostForm(ServiceAddress(serviceUrl.toStdString(), service_paths::kLogin),
                        body.Text()) != RequestResult::Ok)
        return account;
    const LoginResult result = ParseLoginResult(client.replyTail());
    account.userId = result.userId;
    account.loginExtra = QString::fromStdString(result.loginExtra);
    account.points = result.points;
    account.sessionKey = QString::fromStdString(result.sessionKey);
    return account;
}

bool WinChallenge(const QString& serviceUrl, const Account& account) {
    const std::string base = serviceUrl.toStdString();
    const std::string session = account.sessionKey.toStdString();
    CHttpClient client;
    FormBody payment;
    payment.AddNumber("id", account.userId).AddText("ses", session);
    if (client.PostForm(ServiceAddress(base, service_paths::kGamePayment), payment.Text()) !=
        RequestResult::Ok)
        return false;
    const std::optional<std::string_view> gameId = GetReplyValue(client.replyTail());
    if (!gameId)
        return false;
    FormBody report;
    report.AddNumber("uid", account.userId)
        .AddText("gid", *gameId)
        .AddNumber("state", 1)
        .AddText("ses", session);
    return client.PostForm(ServiceAddress(base, service_paths::kChallengeReport), report.Text()) ==
           RequestResult::Ok;
}

QString UnusedAddress() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}

void UseXDisplayWhenThere() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void WhenModalOpens(const std::function<void(QWidget*)>& action) {
    auto* poll = new QTimer(qApp);
    QWidget* before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, before, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == before)
            return;
        poll->stop();
        poll->deleteLater();
        action(modal);
    });
    poll->start(10);
}

} // namespace rowstone::test
