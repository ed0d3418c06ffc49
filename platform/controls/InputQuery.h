// The platform's input box: a small modal form with a prompt, an edit and OK and Cancel,
// shown through the dialog entry point (a test answers it as any modal form, finding the
// edit by its name "Edit").
#pragma once

#include <string>

// Asks for a text: True with Value set to the edit's text on OK; False (Value unchanged)
// on Cancel.
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);
