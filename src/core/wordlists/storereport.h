#pragma once

#include "wordlists/wordliststore.h"

class Prompter;
class TextTables;

// Tells the player what a change of the word-list store did besides the change: the copy of
// lists.txt it kept (named with its path), then the reason it failed. True when it was made.
bool reportstorechange(Prompter &prompter, const TextTables &texts, const StoreResult &result);
