// The process-wide part of the engine: the Qt application, its look, and the event loop.
#pragma once

#include <memory>

class QApplication;

namespace tsrl::forms {

class Form;

class Application {
  public:
    // Where no display can be opened, prints one line naming it and ends the program with
    // status 1.
    Application(int& argc, char** argv);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Loads and shows the form, then serves its events until it is closed.
    int Run(Form& form);

  private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace tsrl::forms
