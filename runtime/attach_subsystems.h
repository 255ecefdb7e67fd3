// Plugging the subsystems into the core's start-up, frame loop and program end.
#pragma once

// Fills the core's SubsystemHooks with every subsystem this library carries. RuntimeMain calls it;
// a program that calls RuntimeInit itself calls it first.
void AttachSubsystems();
