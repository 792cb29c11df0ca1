#pragma once

struct WizardSession;
class WizardScreen;

// The order of the wizard's screens. A screen names the step it goes to and hands over its session; it never
// knows the screen that takes that step.
namespace WizardSteps {

enum class Step {
    Mastheads, // starts afresh, whatever the session holds
    Dates,
    Download,
};

// The screen of the step: the one already loaded, or a new one that begins with the session.
WizardScreen& load(Step step, const WizardSession& session);

} // namespace WizardSteps
