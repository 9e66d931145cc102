#include "testsupport.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

namespace TestSupport {

namespace {
template<typename T> bool isA(QWidget *widget)
{
    return qobject_cast<T *>(widget) != nullptr;
}
} // namespace

void isolateSettings()
{
    // Lives until the process ends; removed with its contents then.
    static QTemporaryDir config(QDir::tempPath() + QStringLiteral("/quirevale-test-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
}

void clearSettings()
{
    // The window sets the same names when it is made; a test that opens the
    // store before that must already reach the same file.
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrelind"));
    QCoreApplication::setApplicationName(QStringLiteral("Quirevale"));
    QSettings settings;
    settings.clear();
}

ModalAnswer::ModalAnswer(std::function<bool(QWidget *)> wanted,
                         std::function<void(QWidget *)> answer)
    : m_wanted(std::move(wanted))
    , m_answer(std::move(answer))
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::poll);
    m_timer.start();
}

void ModalAnswer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !m_wanted(modal))
        return;
    m_timer.stop();
    m_answered = true;
    m_answer(modal);
}

ModalAnswer *acceptMessageBox(BoxSeen *seen, QObject *parent)
{
    auto *answer = new ModalAnswer(isA<QMessageBox>, [seen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (seen) {
            seen->title = box->windowTitle();
            seen->text = box->text();
        }
        box->button(QMessageBox::Ok)->click();
    });
    answer->setParent(parent);
    return answer;
}

ModalAnswer *chooseInFileDialog(const QString &path, DialogSeen *seen, QObject *parent)
{
    auto *answer = new ModalAnswer(isA<QFileDialog>, [path, seen](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (seen) {
            seen->caption = dialog->windowTitle();
            seen->directory = dialog->directory().absolutePath();
            seen->suggested = nameEdit->text();
            seen->filters = dialog->nameFilters();
            seen->dirsOnly = dialog->testOption(QFileDialog::ShowDirsOnly);
            seen->resolvesLinks = !dialog->testOption(QFileDialog::DontResolveSymlinks);
        }
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDirectory(
            dialog->fileMode() == QFileDialog::Directory ? path : QFileInfo(path).absolutePath());
        nameEdit->setText(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    answer->setParent(parent);
    return answer;
}

ModalAnswer *cancelFileDialog(QObject *parent)
{
    auto *answer = new ModalAnswer(isA<QFileDialog>,
                                   [](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); });
    answer->setParent(parent);
    return answer;
}

bool colorNear(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

bool writeImage(const QString &path, int width, int height, const QColor &color, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image.save(path, format);
}

} // namespace TestSupport
