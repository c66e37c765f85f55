#include "CGameFlow.h"

#include "Browser.h"
#include "CHttpClient.h"
#include "FailureTables.h"
#include "FormBody.h"
#include "MessageBoxes.h"
#include "QtUtf8.h"
#include "ReplyNumber.h"
#include "ReplyValue.h"
#include "ServiceAddress.h"
#include "ServicePaths.h"
#include "StoneSound.h"
#include "WaitForRequest.h"

#include <algorithm>

namespace rowstone {

namespace {

const QString kNotice = QStringLiteral("温馨提示");

} // namespace

CGameFlow::CGameFlow(GamePageHost& host, QString serviceUrl)
    : host(host), serviceUrl(std::move(serviceUrl)), httpClient(std::make_unique<CHttpClient>()) {}

CGameFlow::~CGameFlow() {
    TearDown();
}

std::string CGameFlow::SessionKey() const {
    return sessionKey.toStdString();
}

RequestResult CGameFlow::Post(std::string_view path, const FormBody& body) {
    const std::string address = ServiceAddress(serviceUrl.toStdString(), path);
    const std::string& text = body.Text();
    RequestResult result = RequestResult::Failed;
    ui::WaitForRequest(host.Window(), [&] { result = httpClient->PostForm(address, text); });
    return result;
}

void CGameFlow::Init() {
    gameInProgress = false;
    playerTurn = true;
    modelLoaded = false;
    board = std::make_unique<CGameBoard>();
    FetchModel(kStartConnectLength);
    secondsLeft = kSecondsPerMove;
    DrawBoard();
    ShowBoardSize();
    const int type = modelConnectLength - CGameBoard::kMinConnectLength;
    if (type >= 0 && type < kGameTypeCount) {
        host.FillGameTypeBox(true, type);
        gameTypeIndex = type;
    } else {
        host.FillGameTypeBox(false, 0);
        gameTypeIndex = 0;
    }
    FillLayerBox();
    host.EnableGameTypeBox(true);
    idage = 0;
    userId = 0;
    loginExtra.clear();
    points = 0;
    sessionKey.clear();
    gameId = 0;
    host.UpdateBoardCursor();
}

void CGameFlow::DrawBoard() {
    if (!board)
        return;
    board->LayoutAndDrawGrid(host.BoardView());
    board->DrawStones(host.BoardView());
}

void CGameFlow::ShowBoardSize() {
    if (modelLoaded)
        host.ShowBoardSize(modelWidth, modelHeight);
    else
        host.ClearBoardSize();
}

void CGameFlow::FillLayerBox() {
    const int layerCount = board ? board->network.layerCount() : 0;
    layerIndex = std::max(std::min(layerCount - 1, 5) - 2, 0);
    host.FillLayerBox(2, layerCount - 1, layerIndex);
    if (board)
        board->network.layerLimit = layerIndex + 2;
}

bool CGameFlow::FetchModel(int connectLength) {
    const std::string address =
        ServiceAddress(serviceUrl.toStdString(), service_paths::kModel, {connectLength});
    RequestResult result = RequestResult::Failed;
    ui::WaitForRequest(host.Window(), [&] { result = httpClient->Download(address); });
    if (result != RequestResult::Ok || !board)
        return false;
    // The download block may be larger than this file when a larger model
    // came before it: hand the loader only the bytes just fetched.
    modelLoaded = board->LoadModel(modelWidth, modelHeight, modelConnectLength,
                                   httpClient->downloadBuffer(), httpClient->downloadSize());
    return true;
}

void CGameFlow::OnGameTypeSelected(int index) {
    if (index == gameTypeIndex)
        return;
    const ui::MessageAnswer answer = ui::ShowMessage(
        host.Window(),
        QStringLiteral("确定要更改游戏类型吗？这将需要一些时间加载和初始化新的神经网络模型"),
        kNotice, ui::MessageButtons::OkCancel, ui::MessageIcon::Information);
    if (answer != ui::MessageAnswer::Ok) {
        host.SelectGameType(gameTypeIndex);
        return;
    }
    if (gameInProgress)
        StopGame();
    const int previous = gameTypeIndex;
    gameTypeIndex = index;
    if (!FetchModel(index + CGameBoard::kMinConnectLength)) {
        ui::ShowMessage(host.Window(), QStringLiteral("模型加载失败！"), ui::ApplicationCaption(),
                        ui::MessageButtons::Ok, ui::MessageIcon::Warning);
        // The previous model is still loaded: keep its game type, so that
        // the box, the upload and the model agree.
        gameTypeIndex = previous;
        host.SelectGameType(previous);
    } else {
        ShowBoardSize();
    }
    FillLayerBox();
    DrawBoard();
}

void CGameFlow::OnLayerSelected(int index) {
    if (index == layerIndex)
        return;
    const ui::MessageAnswer answer = ui::ShowMessage(
        host.Window(),
        QStringLiteral(
            "确定要更改所挑战的网络层数吗？这将改变挑战的难度，终止当前的挑战并重新开局"),
        kNotice, ui::MessageButtons::OkCancel, ui::MessageIcon::Information);
    if (answer != ui::MessageAnswer::Ok) {
        host.SelectLayer(layerIndex);
        return;
    }
    if (gameInProgress)
        StopGame();
    layerIndex = index;
    if (board)
        board->network.layerLimit = index + 2;
}

void CGameFlow::StopGame() {
    host.KillTimer(kCountdownTimer);
    if (!playerTurn)
        host.KillTimer(kComputerTimer);
    gameInProgress = false;
    host.EnableStartButton(true);
    host.EnableResignButton(false);
    host.UpdateBoardCursor();
}

bool CGameFlow::BeginPlay() {
    gameInProgress = true;
    playerTurn = true;
    secondsLeft = kSecondsPerMove;
    board->NewGame();
    host.RedrawPage();
    host.SetTimer(kCountdownTimer, kCountdownPeriodMs);
    host.EnableStartButton(false);
    host.EnableResignButton(true);
    host.UpdateBoardCursor();
    return true;
}

void CGameFlow::OnBoardClick(int x, int y) {
    if (!gameInProgress) {
        ui::ShowMessage(host.Window(), QStringLiteral("请先点击开始游戏"), kNotice,
                        ui::MessageButtons::Ok, ui::MessageIcon::Error);
        return;
    }
    if (!playerTurn || !board)
        return;
    if (!board->PlayerMove(host.BoardView(), x, y))
        return;
    ui::PlayStoneSound();
    secondsLeft = kSecondsPerMove;
    playerTurn = false;
    host.UpdateBoardCursor();
    if (board->gameOver)
        FinishGame();
    else
        host.SetTimer(kComputerTimer, kComputerDelayMs);
}

void CGameFlow::OnBoardHover(int x, int y) {
    if (PlayerMayMove() && board)
        board->DrawHover(host.BoardView(), x, y);
}

void CGameFlow::OnTimer(int id) {
    if (id == kCountdownTimer) {
        secondsLeft -= 1;
        host.ShowCountdown(secondsLeft);
        if (secondsLeft <= 0) {
            host.KillTimer(kCountdownTimer);
            EndOfPlay();
            ReportChallenge(kTimedOut);
            ui::ShowInfo(host.Window(), QStringLiteral("抱歉，您思考得太久了"),
                         QStringLiteral("超时提示"));
        }
    } else if (id == kComputerTimer) {
        host.KillTimer(kComputerTimer);
        if (!board)
            return;
        board->ComputerMove(host.BoardView());
        ui::PlayStoneSound();
        secondsLeft = kSecondsPerMove;
        playerTurn = true;
        host.UpdateBoardCursor();
        if (board->gameOver)
            FinishGame();
    }
}

void CGameFlow::EndOfPlay() {
    gameInProgress = false;
    host.EnableStartButton(true);
    host.EnableResignButton(false);
    host.UpdateBoardCursor();
}

void CGameFlow::FinishGame() {
    host.KillTimer(kCountdownTimer);
    EndOfPlay();
    if (board->sideToMove == -1) {
        ReportChallenge(kPlayerWon);
        ui::ShowInfo(host.Window(), QStringLiteral("恭喜，您赢了"), kNotice);
        UploadBoard();
    } else if (board->sideToMove == 1) {
        ReportChallenge(kComputerWon);
        ui::ShowInfo(host.Window(), QStringLiteral("很遗憾，您输了"), kNotice);
    } else {
        ReportChallenge(kDraw);
        ui::ShowInfo(host.Window(), QStringLiteral("平局"), kNotice);
    }
}

void CGameFlow::Resign() {
    const ui::MessageAnswer answer =
        ui::ShowMessage(host.Window(), QStringLiteral("确定要认输吗？"), kNotice,
                        ui::MessageButtons::YesNo, ui::MessageIcon::Question);
    // While the box was open the computer's reply or the countdown may
    // have ended the game and reported it already.
    if (answer != ui::MessageAnswer::Yes || !gameInProgress)
        return;
    gameInProgress = false;
    playerTurn = false;
    host.KillTimer(kCountdownTimer);
    host.KillTimer(kComputerTimer);
    host.EnableStartButton(true);
    host.EnableResignButton(false);
    host.UpdateBoardCursor();
    ReportChallenge(kResigned);
}

bool CGameFlow::ReportChallenge(int state) {
    FormBody body;
    body.AddNumber("uid", userId)
        .AddNumber("gid", gameId)
        .AddNumber("state", state)
        .AddText("ses", SessionKey());
    if (Post(service_paths::kChallengeReport, body) != RequestResult::Ok)
        return false;
    const std::optional<std::string_view> value = GetReplyValue(httpClient->replyTail());
    if (value) {
        const int amount = ReadReplyNumber(*value);
        ui::ShowInfo(host.Window(), QStringLiteral("恭喜您获得%1元红包").arg(amount), kNotice);
    }
    return true;
}

bool CGameFlow::UploadBoard() {
    if (!board)
        return false;
    // One item per move in playing order: the cell index and a blank.
    std::string data;
    for (int i = 0; i < board->moveCount; ++i) {
        const Move& move = board->moves[static_cast<size_t>(i)];
        data += std::to_string(move.y * board->width + move.x);
        data += ' ';
    }
    FormBody body;
    body.AddNumber("ind", gameTypeIndex + CGameBoard::kMinConnectLength)
        .AddNumber("len", board->moveCount)
        .AddNumber("tpf", board->moveCount > 0 ? board->moves[0].side : -1)
        .AddNumber("w", board->width)
        .AddText("ses", SessionKey())
        .AddText("data", data);
    return Post(service_paths::kBoardUpload, body) == RequestResult::Ok;
}

bool CGameFlow::QueryPoints() {
    FormBody body;
    body.AddNumber("id", userId).AddText("ses", SessionKey());
    if (Post(service_paths::kPointQuery, body) != RequestResult::Ok)
        return false;
    const std::optional<std::string_view> value = GetReplyValue(httpClient->replyTail());
    if (!value)
        return false;
    points = ReadReplyNumber(*value);
    return true;
}

bool CGameFlow::AskRecharge() {
    const ui::MessageAnswer answer =
        ui::ShowMessage(host.Window(), QStringLiteral("积分不足，请充值"), kNotice,
                        ui::MessageButtons::YesNo, ui::MessageIcon::Question);
    if (answer != ui::MessageAnswer::Yes)
        return false;
    ui::OpenInBrowser(QString::fromStdString(
        ServiceAddress(serviceUrl.toStdString(), service_paths::kRecharge, {userId, idage})));
    ui::ShowInfo(
        host.Window(),
        QStringLiteral("充值过程中请不要关闭浏览器，充值完成后关闭浏览器并点击此处的 确定 按钮"),
        kNotice);
    QueryPoints();
    return true;
}

bool CGameFlow::PayForGame() {
    FormBody body;
    body.AddNumber("id", userId).AddText("ses", SessionKey());
    if (Post(service_paths::kGamePayment, body) != RequestResult::Ok) {
        const FailureMessage message = ReadFailure(kGamePaymentFailures, httpClient->replyTail());
        ui::ShowInfo(host.Window(), ui::FromUtf8(message.text), ui::FromUtf8(message.caption));
        return false;
    }
    const std::optional<std::string_view> value = GetReplyValue(httpClient->replyTail());
    gameId = value ? ReadReplyNumber(*value) : 0;
    return true;
}

void CGameFlow::StartGame() {
    if (gameInProgress || !board)
        return;
    // A game type whose model did not load cannot be played: charge nothing.
    if (!modelLoaded) {
        ui::ShowMessage(host.Window(), QStringLiteral("模型加载失败！"), ui::ApplicationCaption(),
                        ui::MessageButtons::Ok, ui::MessageIcon::Warning);
        return;
    }
    if (points < kGamePrice) {
        QueryPoints();
        if (points < kGamePrice) {
            AskRecharge();
            return;
        }
    }
    if (!PayForGame())
        return;
    points -= kGamePrice;
    BeginPlay();
}

void CGameFlow::TearDown() {
    if (!board)
        return;
    board->Release();
    board->network.ReleaseBuffers();
    board->network.ReleaseLayers();
    board.reset();
}

} // namespace rowstone
