#pragma once
// Stands in for the converter's helper declarations until it has written
// its own into the working folder (searched first).
