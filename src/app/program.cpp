#include "app/program.h"

namespace {

// Counts the modal windows open through the seam, so that the program can
// tell when none of its handlers is waiting on one.
template <class Function> Function counted(Function show, int &open)
{
    return [show, &open](auto &&...arguments) {
        struct Count {
            int &open;
            explicit Count(int &o) : open(o) { ++open; }
            ~Count() { --open; }
        } count(open);
        return show(std::forward<decltype(arguments)>(arguments)...);
    };
}

} // namespace

Program::Program(ModalSeam seam)
    : modal{counted(std::move(seam.message), open_modals), counted(std::move(seam.exec), open_modals),
            counted(std::move(seam.result), open_modals), counted(std::move(seam.ask), open_modals),
            counted(std::move(seam.open_file), open_modals)}
{
}
