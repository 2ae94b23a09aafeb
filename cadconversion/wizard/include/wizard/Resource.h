// Resource ids of the import wizard: its dialog templates, their controls
// and its string table.
#pragma once

// Strings
constexpr unsigned IDS_OLE_INIT_FAILED = 100;
constexpr unsigned IDS_HELP_NOT_FOUND = 109;
constexpr unsigned IDS_HELP_FILE_NAME = 110;

// Dialog templates, one per wizard page
constexpr unsigned IDD_SPECIFY_LOG_FILE = 106;
constexpr unsigned IDD_SELECT_JOB_GROUP = 107;
constexpr unsigned IDD_SELECT_FORMAT = 130;
constexpr unsigned IDD_SELECT_FILES = 135;
constexpr unsigned IDD_CONVERTING_FILES = 136;

// Page 1: format
constexpr int IDC_FORMAT = 1003;
constexpr int IDC_METRIC = 1033;
constexpr int IDC_TOOL_METRIC = 1034;

// Page 2: job and group
constexpr int IDC_JOB_FROM_FILE = 1015;
constexpr int IDC_JOB_SPECIFY = 1017;
constexpr int IDC_JOB = 1018;
constexpr int IDC_GROUP_FROM_FILE = 1019;
constexpr int IDC_GROUP_SPECIFY = 1021;
constexpr int IDC_GROUP = 1011;
constexpr int IDC_MULT_NOTE = 1034;

// Page 3: log file
constexpr int IDC_USE_LOG_FILE = 1030;
constexpr int IDC_LOG_FILE = 1020;
constexpr int IDC_BROWSE_LOG_FILE = 1031;

// Page 4: files
constexpr int IDC_SELECTED_FILES = 1029;
constexpr int IDC_SELECT_FILES = 1021;
constexpr int IDC_DELETE_FILES = 1032;

// Page 5: conversion
constexpr int IDC_CURRENT_JOB = 1024;
constexpr int IDC_CURRENT_GROUP = 1026;
constexpr int IDC_CURRENT_MARK = 1027;
constexpr int IDC_CONVERT_FILES = 1023;
constexpr int IDC_CONVERT = 1028;
