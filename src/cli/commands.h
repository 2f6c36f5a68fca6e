#pragma once

// Sub-commands of dadaz; argv[0] is the sub-command's name. Each returns the exit status.
int cmdMakeLibrary(int argc, char** argv);
int cmdSonglist(int argc, char** argv);
int cmdSearch(int argc, char** argv);
int cmdMidiLength(int argc, char** argv);
int cmdAdd(int argc, char** argv);
int cmdDelete(int argc, char** argv);
int cmdMove(int argc, char** argv);
int cmdRenumber(int argc, char** argv);
int cmdDuplicates(int argc, char** argv);
int cmdCheckUpdate(int argc, char** argv);
int cmdExport(int argc, char** argv);
int cmdSongbook(int argc, char** argv);
