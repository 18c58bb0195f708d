#pragma once

#include "i18n/Language.h"

/// Makes language the one of every text the shell looks up from now on (Ui() and the tables).
/// English comes from the catalog beside the program, in the build tree or under share/locale;
/// without it the original texts show.
void UseLanguage(UiLanguage language);
UiLanguage CurrentLanguage();
