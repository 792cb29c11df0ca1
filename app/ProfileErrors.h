#pragma once

class FileError;

enum class ProfileStep { Read, Repair, Save };

// Tells the user, in a modal box with the stop icon, which step on the profile file failed and why.
void reportProfileError(ProfileStep step, const FileError& error);
