// The process-wide part of the engine: the toolkit, its look, the program's identity, and the
// event loop.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace tsrl::forms {

class Form;

// A square picture: 0xAARRGGBB pixels, row by row from the top, alpha premultiplied.
struct Picture {
    int side = 0;
    std::span<const std::uint32_t> pixels;
};

// How desktops and assistive tools know the program; empty fields are left to the toolkit. The
// texts must live as long as the Application.
struct Identity {
    std::string_view applicationName;  // desktops match the window to its icon by these
    std::string_view version;
    std::string_view organizationDomain;
    std::string_view desktopFileName;
    // What a screen reader calls the window, rather than by its caption.
    std::string_view productName;
    std::string_view description;
    // The program's icon, compiled in, so that no image decoder loads at start; Windows takes
    // the program file's own.
    Picture icon;
};

class Application {
  public:
    // Where no display can be opened, prints one line naming it and ends the program with
    // status 1.
    Application(int& argc, char** argv, const Identity& identity = {});
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Names the window, loads and shows the form, then serves its events until it is closed.
    int Run(Form& form);

  private:
    struct State;
    Identity identity_;
    std::unique_ptr<State> state_;
};

}  // namespace tsrl::forms
