#include "ProgramStart.h"

#include "ApplicationTitle.h"
#include "ChatHelp.h"
#include "Failures.h"
#include "PersonalityHelp.h"
#include "main.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmap>
#include <QPushButton>

namespace {

// Read as the PNG image it is: guessing the format would load every image
// format plugin of the system first, a noticeable part of the start.
QPixmap PngImage(const QString& path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon ProgramIcon()
{
    // The images live in a static library, whose resources the linker keeps
    // only when asked for by name.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    icon.addPixmap(PngImage(QStringLiteral(":/icons/tavrik-16.png")));
    icon.addPixmap(PngImage(QStringLiteral(":/icons/tavrik-32.png")));
    return icon;
}

void PrepareApplication()
{
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setWindowIcon(ProgramIcon());
}

namespace {

// The help windows know nothing of the program; their button's handler runs
// under the program's failure guard like every other handler.
void WireExitButton(THelpWindow& window)
{
    QObject::connect(window.ExitButton, &QPushButton::clicked, &window,
                     [&window] { RunHandler([&window] { window.ExitButtonClick(); }); });
}

} // namespace

ProgramWindows::ProgramWindows()
{
    mainForm_ = std::make_unique<TMainForm>();
    MainForm = mainForm_.get();
    chatHelpForm_ = std::make_unique<TChatHelpForm>();
    ChatHelpForm = chatHelpForm_.get();
    WireExitButton(*chatHelpForm_);
    personalityHelpForm_ = std::make_unique<TPersonalityHelpForm>();
    PersonalityHelpForm = personalityHelpForm_.get();
    WireExitButton(*personalityHelpForm_);
}

ProgramWindows::~ProgramWindows()
{
    PersonalityHelpForm = nullptr;
    ChatHelpForm = nullptr;
    MainForm = nullptr;
}

int RunProgram(int argc, char** argv)
{
    QApplication application(argc, argv);
    PrepareApplication();
    ProgramWindows windows;
    MainForm->show();
    return QApplication::exec();
}
