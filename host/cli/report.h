// What the host prints after a run.
#pragma once

#include <ostream>

class ModuleHost;
class Simulator;
class SiblingModules;

void PrintRunReport(std::ostream& out, const ModuleHost& host, const Simulator& simulator, SiblingModules& siblings,
                    int frames);
