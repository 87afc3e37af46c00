#pragma once

// The DeleteSaved verb: the saved-data folder under the user's documents
// folder goes, with everything in it.
void DeleteSaved();
