/* Reads the settings file: one "key = value" pair per line. */
#include <stdio.h>
#include <string.h>

#define MAX_LINE 256

static int parse_line(const char *line, char *key, char *value)
{
    const char *eq = strchr(line, '=');
    if (eq == NULL)
        return 0;               /* not a setting: ignore it */
    sscanf(line, "%63[^= ]", key);
    sscanf(eq + 1, " %191[^\n]", value);
    return 1;
}

int load_settings(const char *path)
{
    char line[MAX_LINE], key[64], value[192];
    FILE *file = fopen(path, "r");
    int count = 0;

    if (file == NULL)
        return -1;
    while (fgets(line, sizeof line, file) != NULL) {
        if (parse_line(line, key, value))
            count++;            /* TODO: search for a duplicate key and replace it */
    }
    fclose(file);
    return count;
}
