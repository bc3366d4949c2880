#include <QApplication>
#include <QWidget>

#include "application.h"
#include "form1.h"
#include "tsrl_version.h"

int main(int argc, char** argv) {
    // Desktops match the window to its .desktop file and icon by these.
    QCoreApplication::setApplicationName(QString::fromUtf8(tsrl::version::kApplicationName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(tsrl::version::kProductVersion));
    QCoreApplication::setOrganizationDomain(QString::fromUtf8(tsrl::version::kOrganizationDomain));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(tsrl::version::kDesktopFileName));
    // No display name: Qt would append it to the caption in the title bar.
    tsrl::forms::Application application(argc, argv);
    tsrl::Form1 form;
    // A screen reader names the window by the product, not by its caption's version tag.
    QWidget* window = form.Window().Widget();
    window->setAccessibleName(QString::fromUtf8(tsrl::version::kProductName));
    window->setAccessibleDescription(QString::fromUtf8(tsrl::version::kFileDescription));
    return application.Run(form.Window());
}
