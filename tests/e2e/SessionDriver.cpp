// Preloaded into the real quillmark by the session tests, to play a session
// of commands as a user would: keys into the Name field, clicks on the
// buttons, the rows and the column headings. The commands come from the file
// named by QUILLMARK_SESSION, one a line (a NAME has no spaces):
// "<pause ms> add NAME",
// "<pause ms> update ROW NAME", "<pause ms> delete ROW", "<pause ms> sort
// COLUMN". Standard output tells when the window was found and when each
// command had been done, on the monotonic clock: "ready <ms>", "done <n> <ms>".

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

qint64 Now()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

class Session : public QObject {
public:
    explicit Session(QList<QByteArrayList> commands)
        : commands_(std::move(commands))
    {
        connect(&look_, &QTimer::timeout, this, &Session::LookForWindow);
        look_.start(20);
    }

private:
    void LookForWindow()
    {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->findChild<QPushButton*>(QStringLiteral("addButton")) != nullptr)
                window_ = top;
        }
        if (window_ == nullptr)
            return;
        look_.stop();
        std::printf("ready %lld\n", Now());
        std::fflush(stdout);
        PlayNext();
    }

    void PlayNext()
    {
        if (next_ >= commands_.size())
            return;
        QTimer::singleShot(commands_[next_].value(0).toInt(), this, [this] {
            Play(commands_[next_]);
            ++next_;
            std::printf("done %lld %lld\n", qint64(next_), Now());
            std::fflush(stdout);
            PlayNext();
        });
    }

    void Play(const QByteArrayList& command)
    {
        const QByteArray verb = command.value(1);
        if (verb == "add") {
            Type(command.value(2));
            Click("addButton");
        } else if (verb == "update") {
            ClickRow(command.value(2).toInt());
            Type(command.value(3));
            Click("updateButton");
        } else if (verb == "delete") {
            ClickRow(command.value(2).toInt());
            Click("deleteButton");
        } else if (verb == "sort") {
            QHeaderView* header = Table()->horizontalHeader();
            const int column = command.value(2).toInt();
            const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        }
    }

    QTableView* Table() const { return window_->findChild<QTableView*>(QStringLiteral("cardTable")); }

    void Type(const QByteArray& text)
    {
        auto* edit = window_->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    void Click(const char* button)
    {
        QTest::mouseClick(window_->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }

    void ClickRow(int row)
    {
        QTableView* view = Table();
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QList<QByteArrayList> commands_;
    qsizetype next_ = 0;
    QTimer look_;
    QWidget* window_ = nullptr;
};

void StartSession()
{
    QFile script(qEnvironmentVariable("QUILLMARK_SESSION"));
    if (!script.open(QIODevice::ReadOnly))
        return;
    QList<QByteArrayList> commands;
    for (const QByteArray& line : script.readAll().split('\n')) {
        if (!line.isEmpty())
            commands << line.split(' ');
    }
    new Session(std::move(commands));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(StartSession)
