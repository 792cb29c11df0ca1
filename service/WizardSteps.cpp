#include "WizardSteps.h"

#include "FrmDownload.h"
#include "FrmEdizione.h"
#include "FrmTestata.h"
#include "platform/Screen.h"

namespace {

template <typename S> WizardScreen& loaded(const WizardSession& session) {
    if (S* screen = Screen<S>::ifLoaded())
        return *screen;
    S& screen = Screen<S>::load();
    screen.begin(session);
    return screen;
}

} // namespace

namespace WizardSteps {

WizardScreen& load(Step step, const WizardSession& session) {
    switch (step) {
    case Step::Mastheads:
        return Screen<FrmTestata>::load(); // its opening begins a new session
    case Step::Dates:
        return loaded<FrmEdizione>(session);
    case Step::Download:
        break;
    }
    return loaded<FrmDownload>(session);
}

} // namespace WizardSteps
