#include "gui/dialogs/CRunDialog.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/DialogUnits.h"
#include "gui/dialogs/LocaleNumbers.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <system_error>

using namespace paradrex;

namespace {

// The static texts of the dialog: text, place in dialog units, alignment and
// control id (0 for the plain labels).
struct StaticText {
    const char* text;
    int x, y, w, h;
    bool right;
    int id;
};

constexpr StaticText kTexts[] = {
    {"Total Directory Amount:", 6, 6, 77, 8, false, 0},
    {"0", 102, 6, 63, 8, true, run::DirectoryCount},
    {"Total File Amount:", 6, 18, 59, 8, false, 0},
    {"0", 102, 18, 63, 8, true, run::FileCount},
    {"Total Processed File Size:", 6, 30, 79, 8, false, 0},
    {"0", 102, 30, 63, 8, true, run::TotalSize},
    {"Bytes", 168, 30, 18, 8, true, 0},
    {"(0 MB)", 192, 30, 38, 8, false, run::TotalSizeText},
    {"Total Duplicate File Amount:", 6, 42, 90, 8, false, 0},
    {"0", 102, 42, 63, 8, true, run::DuplicateCount},
    {"Total Duplicate File Size:", 6, 54, 76, 8, false, 0},
    {"0", 102, 54, 63, 8, true, run::DuplicateSize},
    {"Bytes", 168, 54, 18, 8, true, 0},
    {"(0 MB)", 192, 54, 38, 8, false, run::DuplicateSizeText},
    {"Total Time for Find Out Duplicate Files:", 6, 72, 123, 8, false, 0},
    {"0", 125, 72, 53, 8, true, run::FindTime},
    {"s", 181, 72, 8, 8, true, 0},
    {"Total Time for Build Directory Structure:", 6, 84, 127, 8, false, 0},
    {"0", 141, 84, 37, 8, true, run::BuildTime},
    {"s", 181, 84, 8, 8, true, 0},
    {"Total Time for Pretreat Files:", 6, 96, 91, 8, false, 0},
    {"0", 125, 96, 53, 8, true, run::PretreatTime},
    {"s", 181, 96, 8, 8, true, 0},
    {"Average Process Files:", 6, 114, 70, 8, false, 0},
    {"0", 96, 114, 63, 8, true, run::AverageFiles},
    {"/s", 179, 114, 9, 8, true, 0},
    {"Average Process File Size:", 6, 126, 81, 8, false, 0},
    {"0", 96, 126, 63, 8, true, run::AverageBytes},
    {"Bytes/s", 162, 126, 24, 8, true, 0},
    {"(0 MB)", 192, 126, 38, 8, false, run::AverageBytesText},
};

// The access key of a button text ("&Pause" -> P), or a null character.
QChar AccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

} // namespace

CRunDialog::CRunDialog(QWidget* parent, SearchState& state, SearchEnvironment env,
                       WorkerStarter starter)
    : CRunDialog(parent, state, std::move(starter),
                 [&state, env = std::move(env)] { RunSearch(state, env); }) {}

CRunDialog::CRunDialog(QWidget* parent, SearchState& state, WorkerStarter starter,
                       std::function<void()> work)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state),
      work_(std::move(work)), starter_(std::move(starter)), progress_(state, LocaleNumbers()) {
    if (!starter_)
        starter_ = [](std::function<void()> body) { return std::thread(std::move(body)); };
    setWindowTitle(QStringLiteral("Process..."));
    setModal(true);
    BuildControls();
    timer_.setInterval(500);
    connect(&timer_, &QTimer::timeout, this, &CRunDialog::OnTimer);
}

CRunDialog::~CRunDialog() {
    timer_.stop();
    if (worker_.joinable()) {
        // Only reached when the dialog goes away before its worker ended.
        state_.RequestStop();
        worker_.join();
    }
}

void CRunDialog::BuildControls() {
    DialogUnits du(font());
    for (const StaticText& t : kTexts)
        if (t.id == 0)
            du.Fit(QString::fromLatin1(t.text), t.w);
    setFixedSize(du.X(230), du.Y(183));

    for (const StaticText& t : kTexts) {
        auto* l = new QLabel(QString::fromLatin1(t.text), this);
        l->setGeometry(du.Rect(t.x, t.y, t.w, t.h));
        l->setAlignment((t.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        if (t.id != 0) {
            l->setObjectName(QStringLiteral("id%1").arg(t.id));
            controls_[t.id] = l;
        }
    }
    auto button = [&](int id, const char* text, QRect r) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QStringLiteral("id%1").arg(id));
        b->setGeometry(r);
        b->setAutoDefault(true);
        controls_[id] = b;
        return b;
    };
    pause_ = button(run::PauseButton, "&Pause", du.Rect(24, 162, 42, 13));
    stop_ = button(run::StopButton, "&Stop", du.Rect(93, 162, 42, 13));
    done_ = button(run::DoneButton, "&Done", du.Rect(162, 162, 42, 13));
    pause_->setDefault(true);
    done_->setEnabled(false);

    auto* status = new QPlainTextEdit(this);
    status->setObjectName(QStringLiteral("id%1").arg(run::Status));
    status->setReadOnly(true);
    status->setFocusPolicy(Qt::NoFocus);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    status->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    status->document()->setDocumentMargin(1);
    status->setGeometry(du.Rect(6, 138, 216, 18));
    controls_[run::Status] = status;

    connect(pause_, &QPushButton::clicked, this, [this] { Apply(progress_.PressPause()); });
    connect(stop_, &QPushButton::clicked, this, [this] { Apply(progress_.PressStop()); });
    connect(done_, &QPushButton::clicked, this, [this] { done(run::kResultDone); });
    pause_->setFocus();
}

QWidget* CRunDialog::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CRunDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        Initialise();
    }
}

void CRunDialog::Initialise() {
    progress_.Start();
    workerEnded_ = false;
    timer_.start();
    try {
        worker_ = starter_([this] {
            work_();
            workerEnded_ = true;
        });
    } catch (const std::system_error&) {
        // Nothing ran: the search counts as stopped and the window comes back.
        timer_.stop();
        state_.RequestStop();
        QMetaObject::invokeMethod(
            this,
            [this] {
                QMessageBox::critical(this, QStringLiteral("Error"),
                                      QStringLiteral("_beginthreadex failed."));
                done(0);
            },
            Qt::QueuedConnection);
    }
}

void CRunDialog::OnTimer() {
    Apply(progress_.Tick(workerEnded_));
}

void CRunDialog::Apply(const RunProgress::Changes& changes) {
    for (const auto& [id, text] : changes.texts) {
        QWidget* w = Control(id);
        // Texts may carry the path of the directory being read.
        const QString t = DisplayText(text);
        if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(t);
        else if (auto* b = qobject_cast<QPushButton*>(w))
            b->setText(t);
        else if (auto* e = qobject_cast<QPlainTextEdit*>(w))
            e->setPlainText(t);
    }
    for (const auto& [id, on] : changes.enable)
        if (QWidget* w = Control(id))
            w->setEnabled(on);
    if (changes.focusDone) {
        done_->setDefault(true);
        done_->setFocus();
    }
    if (changes.endDialog != 0)
        done(changes.endDialog);
}

void CRunDialog::JoinWorker() {
    if (worker_.joinable())
        worker_.join();
}

void CRunDialog::done(int result) {
    timer_.stop();
    JoinWorker();
    QDialog::done(result);
}

// The dialog cannot be cancelled: Escape and the window manager's close do
// nothing.
void CRunDialog::reject() {}

void CRunDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void CRunDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // As in a dialog whose focus is on a button, a plain letter presses the
    // button it is the access key of.
    const QString text = event->text();
    if (text.size() == 1 && text[0].isLetter() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        for (QPushButton* b : {pause_, stop_, done_}) {
            if (b->isEnabled() && AccessKey(b->text()) == text[0].toLower()) {
                b->click();
                event->accept();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}
